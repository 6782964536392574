#include "ProgramWindows.h"

#include "Unit1.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Unit8.h"
#include "Unit9.h"

namespace journal {

std::unique_ptr<TForm1> createProgramWindows() {
    auto form1 = std::make_unique<TForm1>();
    TForm1::Windows windows;
    // Each directory hands over to its editor, which returns to it; the machine editor also reads
    // the machines directory's workshop list.
    auto* form2 = new TForm2(form1.get());
    form2->setEditor(new TForm3(form1.get(), form2, *form2));
    auto* form4 = new TForm4(form1.get());
    form4->setEditor(new TForm5(form1.get(), form4));
    auto* form6 = new TForm6(form1.get());
    form6->setEditor(new TForm7(form1.get(), form6));
    windows.machines = form2;
    windows.workshops = form4;
    windows.repairmen = form6;
    windows.recordEditor = new TForm8(form1.get());
    windows.help = new TForm9(form1.get());
    windows.about = new TForm10(form1.get());
    windows.details = new TForm11(form1.get());
    form1->setWindows(windows);
    return form1;
}

} // namespace journal

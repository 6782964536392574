#pragma once

#include <memory>

class TForm1;

namespace journal {

// Creates the program's eleven windows hidden, in the order TForm1 to TForm11. The journal window,
// created first, is the main window and owns the other ten.
std::unique_ptr<TForm1> createProgramWindows();

} // namespace journal

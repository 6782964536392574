#include "text/RussianOrder.h"

#include <stdexcept>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace journal {

const RussianOrder& RussianOrder::text() {
    static const RussianOrder order(false);
    return order;
}

const RussianOrder& RussianOrder::natural() {
    static const RussianOrder order(true);
    return order;
}

RussianOrder::RussianOrder(bool numeric) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("ru", &status);
    if (U_FAILURE(status))
        throw std::runtime_error("ICU has no Russian collation");
    ucol_setStrength(collator_, UCOL_SECONDARY);
    if (numeric)
        ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
}

RussianOrder::~RussianOrder() {
    ucol_close(collator_);
}

int RussianOrder::compare(std::string_view left, std::string_view right) const {
    UErrorCode status = U_ZERO_ERROR;
    return ucol_strcollUTF8(collator_, left.data(), static_cast<int32_t>(left.size()), right.data(),
                            static_cast<int32_t>(right.size()), &status);
}

std::string RussianOrder::sortKey(std::string_view utf8) const {
    UErrorCode status = U_ZERO_ERROR;
    // strcollUTF8 reads a broken sequence as U+FFFD; so does this conversion.
    std::u16string wide(utf8.size(), u'\0');
    int32_t wideLength = 0;
    u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &wideLength, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status))
        throw std::runtime_error("cannot read the text to sort");
    std::string key(static_cast<std::size_t>(wideLength) * 3 + 16, '\0');
    int32_t keyLength = ucol_getSortKey(collator_, wide.data(), wideLength, reinterpret_cast<uint8_t*>(key.data()),
                                        static_cast<int32_t>(key.size()));
    if (keyLength > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(keyLength));
        keyLength =
            ucol_getSortKey(collator_, wide.data(), wideLength, reinterpret_cast<uint8_t*>(key.data()), keyLength);
    }
    key.resize(static_cast<std::size_t>(keyLength));
    return key;
}

} // namespace journal

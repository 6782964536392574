#pragma once

#include <string>
#include <string_view>

struct UCollator;

namespace journal {

// A Russian order of text: case-insensitive, Ё beside Е; the natural one also compares runs of digits as numbers.
// Shared by all threads: ICU collators are safe to use at once as long as nobody changes them.
class RussianOrder {
public:
    static const RussianOrder& text();
    static const RussianOrder& natural();

    ~RussianOrder();
    RussianOrder(const RussianOrder&) = delete;
    RussianOrder& operator=(const RussianOrder&) = delete;

    // Below, at or above zero as `left` sorts before, with or after `right`; broken UTF-8 reads as U+FFFD.
    int compare(std::string_view left, std::string_view right) const;
    // Bytes that sort bytewise as `utf8` sorts in this order.
    std::string sortKey(std::string_view utf8) const;

private:
    explicit RussianOrder(bool numeric);

    UCollator* collator_;
};

} // namespace journal

#pragma once

namespace journal {

// One visitor of a std::variant made of a branch per alternative.
template <typename... Branch>
struct Dispatch : Branch... {
    using Branch::operator()...;
};
template <typename... Branch>
Dispatch(Branch...) -> Dispatch<Branch...>;

} // namespace journal

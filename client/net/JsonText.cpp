#include "JsonText.h"

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace journal {
namespace {

// Builds the document like nlohmann's own DOM parser, except that a repeated member name
// keeps the first member: the value of a repeat is built aside and dropped.
class FirstMemberWinsBuilder final : public nlohmann::json_sax<Json> {
public:
    Json takeResult() { return std::move(fRoot); }

    bool null() override { return place(nullptr); }
    bool boolean(bool value) override { return place(value); }
    bool number_integer(number_integer_t value) override { return place(value); }
    bool number_unsigned(number_unsigned_t value) override { return place(value); }
    bool number_float(number_float_t value, const string_t&) override { return place(value); }
    bool string(string_t& value) override { return place(std::move(value)); }
    bool binary(binary_t&) override { return false; }

    bool start_object(std::size_t) override { return open(Json::object()); }
    bool key(string_t& name) override {
        fOpen.back().key = std::move(name);
        return true;
    }
    bool end_object() override {
        fOpen.pop_back();
        return true;
    }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_array() override {
        fOpen.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
        throw std::runtime_error(error.what());
    }

private:
    struct OpenContainer {
        Json* node;
        std::string key;
        std::unique_ptr<Json> discarded; // the value of a repeated member name
    };

    // Where the next value goes. Pointers stay valid: a container only grows at its end,
    // and only the innermost open container grows.
    Json* slot() {
        if (fOpen.empty()) {
            return &fRoot;
        }
        OpenContainer& inner = fOpen.back();
        if (inner.node->is_array()) {
            inner.node->push_back(nullptr);
            return &inner.node->back();
        }
        if (inner.node->contains(inner.key)) {
            inner.discarded = std::make_unique<Json>();
            return inner.discarded.get();
        }
        return &(*inner.node)[inner.key];
    }

    // Readers and writers of documents recurse; a hostile nesting depth must not overflow the stack.
    static constexpr std::size_t kMaxDepth = 512;

    bool open(Json container) {
        if (fOpen.size() >= kMaxDepth) {
            throw std::runtime_error("JSON nested too deeply");
        }
        Json* node = slot();
        *node = std::move(container);
        fOpen.push_back({node, {}, nullptr});
        return true;
    }

    template <typename Value>
    bool place(Value&& value) {
        *slot() = std::forward<Value>(value);
        return true;
    }

    Json fRoot;
    std::vector<OpenContainer> fOpen;
};

} // namespace

Json parseJson(std::string_view text) {
    FirstMemberWinsBuilder builder;
    Json::sax_parse(text.begin(), text.end(), &builder, nlohmann::detail::input_format_t::json, true);
    return builder.takeResult();
}

QString textOf(const Json& value) {
    switch (value.type()) {
    case Json::value_t::string:
        return QString::fromStdString(value.get_ref<const std::string&>());
    case Json::value_t::number_float: {
        const double number = value.get<double>();
        if (std::trunc(number) == number && std::fabs(number) < 1e15) {
            return QString::number(static_cast<qint64>(number)); // whole numbers as plain digits
        }
        return QString::fromStdString(value.dump());
    }
    case Json::value_t::object:
    case Json::value_t::array:
    case Json::value_t::discarded:
        return {};
    default: // integers, true, false, null
        return QString::fromStdString(value.dump());
    }
}

} // namespace journal

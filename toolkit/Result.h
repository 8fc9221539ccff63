#pragma once
// A value, or why there is none: what every step that can fail returns,
// from reading the options to listening on an address.

#include <string>
#include <utility>
#include <variant>

namespace toolkit {

template <typename E>
struct Failure {
    E error;
};
template <typename E>
Failure<E> failure(E error) {
    return {std::move(error)};
}
inline Failure<std::string> failure(const char* why) {
    return {why};
}

template <typename T, typename E = std::string>
class Result {
  public:
    Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit
    Result(Failure<E> failed)                                             // NOLINT: implicit
        : held_(std::in_place_index<1>, std::move(failed.error)) {}
    template <typename Other>
    Result(Failure<Other> failed)  // NOLINT: implicit, a why of another type that converts
        : held_(std::in_place_index<1>, E(std::move(failed.error))) {}

    bool ok() const { return held_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(held_); }
    T& value() { return std::get<0>(held_); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const E& error() const { return std::get<1>(held_); }

  private:
    std::variant<T, E> held_;
};

// What a step that gives nothing but may fail returns.
struct Done {};
using Checked = Result<Done>;

}  // namespace toolkit

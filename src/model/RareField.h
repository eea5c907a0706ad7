// SPDX-License-Identifier: GPL-3.0-or-later
// TRare<T>: a field most records leave empty, held as one pointer until it gets a value.
// A sequence record carries ten descriptive texts and the trace lists, and a project of
// 30,000 aligned sequences or 500,000 simulated ones has none of them: as plain members they
// were most of each record's 848 bytes.
//
// Reads see the value (an empty T while nothing is held) through get(), the conversion to
// const T& and the forwarding read members; writes go through assignment, the forwarding
// write members, or Mut(), which makes the value on first use. Iterators handed out by a
// const read may belong to a shared empty value, so inserting or erasing at a position goes
// through Mut() (`auto& v = field.Mut(); v.insert(v.begin() + i, ...)`); the writing
// begin() and end() of an empty field give an empty range of value-initialized iterators.
#pragma once
#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

template <class T>
class TRare {
 public:
  using value_type = typename T::value_type;
  using size_type = typename T::size_type;

  TRare() = default;
  TRare(const TRare& other) : p_(other.IsHeld() ? std::make_unique<T>(*other.p_) : nullptr) {}
  TRare(TRare&&) noexcept = default;
  TRare& operator=(const TRare& other) {
    if (this != &other) *this = other.get();
    return *this;
  }
  TRare& operator=(TRare&&) noexcept = default;
  ~TRare() = default;

  TRare& operator=(const T& value) {
    if (value.empty())
      p_.reset();
    else if (p_)
      *p_ = value;
    else
      p_ = std::make_unique<T>(value);
    return *this;
  }
  TRare& operator=(T&& value) {
    if (value.empty())
      p_.reset();
    else if (p_)
      *p_ = std::move(value);
    else
      p_ = std::make_unique<T>(std::move(value));
    return *this;
  }

  TRare& operator=(std::initializer_list<value_type> values) { return *this = T(values); }

  [[nodiscard]] const T& get() const { return p_ ? *p_ : Empty(); }
  operator const T&() const { return get(); }  // NOLINT: reads as the plain member did
  // The value itself, made (empty) on first use.
  T& Mut() {
    if (!p_) p_ = std::make_unique<T>();
    return *p_;
  }
  // The value when one is held, else nullptr: edits that only change what exists.
  [[nodiscard]] T* Held() { return p_.get(); }
  [[nodiscard]] const T* Held() const { return p_.get(); }
  // The value moved out; the field is empty after.
  [[nodiscard]] T Take() {
    T out = p_ ? std::move(*p_) : T{};
    p_.reset();
    return out;
  }

  [[nodiscard]] bool empty() const { return !p_ || p_->empty(); }
  [[nodiscard]] size_type size() const { return p_ ? p_->size() : 0; }
  [[nodiscard]] auto begin() const { return get().begin(); }
  [[nodiscard]] auto end() const { return get().end(); }
  [[nodiscard]] auto data() const { return get().data(); }
  // Element writes in place; an empty field gives an empty range.
  [[nodiscard]] auto begin() { return p_ ? p_->begin() : typename T::iterator{}; }
  [[nodiscard]] auto end() { return p_ ? p_->end() : typename T::iterator{}; }
  [[nodiscard]] auto data() { return p_ ? p_->data() : nullptr; }
  [[nodiscard]] const value_type& front() const { return p_->front(); }
  [[nodiscard]] const value_type& back() const { return p_->back(); }
  // Indexes must be inside the value, as with the plain member.
  [[nodiscard]] const value_type& operator[](size_type i) const { return get()[i]; }
  [[nodiscard]] value_type& operator[](size_type i) { return (*p_)[i]; }

  void clear() { p_.reset(); }
  void resize(size_type n) {
    if (n == 0)
      p_.reset();
    else
      Mut().resize(n);
  }
  void resize(size_type n, const value_type& v) {
    if (n == 0)
      p_.reset();
    else
      Mut().resize(n, v);
  }
  void reserve(size_type n) {
    if (n > 0) Mut().reserve(n);
  }
  void push_back(const value_type& v) { Mut().push_back(v); }
  template <class... A>
  void assign(A&&... args) {
    Mut().assign(std::forward<A>(args)...);
    if (p_->empty()) p_.reset();
  }
  void swap(TRare& other) noexcept { p_.swap(other.p_); }
  friend void swap(TRare& a, TRare& b) noexcept { a.swap(b); }

  // Text members, for the descriptive fields.
  [[nodiscard]] const char* c_str() const requires std::same_as<T, std::string> {
    return get().c_str();
  }
  [[nodiscard]] size_type length() const requires std::same_as<T, std::string> { return size(); }
  operator std::string_view() const  // NOLINT
      requires std::same_as<T, std::string> {
    return get();
  }
  TRare& operator+=(std::string_view s) requires std::same_as<T, std::string> {
    if (!s.empty()) Mut() += s;
    return *this;
  }
  TRare& operator+=(char c) requires std::same_as<T, std::string> {
    Mut() += c;
    return *this;
  }

  friend bool operator==(const TRare& a, const TRare& b) { return a.get() == b.get(); }
  template <class U>
  requires(!std::same_as<std::remove_cvref_t<U>, TRare>) && requires(const T& t, const U& u) {
    { t == u } -> std::convertible_to<bool>;
  }
  friend bool operator==(const TRare& a, const U& b) { return a.get() == b; }
  template <class OS>
  requires requires(OS& os, const T& t) { os << t; }
  friend OS& operator<<(OS& os, const TRare& r) {
    os << r.get();
    return os;
  }

 private:
  [[nodiscard]] bool IsHeld() const { return p_ != nullptr && !p_->empty(); }
  static const T& Empty() {
    static const T empty{};
    return empty;
  }
  std::unique_ptr<T> p_;
};

using TRareText = TRare<std::string>;

inline std::string operator+(const TRareText& a, std::string_view b) {
  std::string out(a.get());
  out += b;
  return out;
}
inline std::string operator+(std::string_view a, const TRareText& b) {
  std::string out(a);
  out += b.get();
  return out;
}
inline std::string operator+(const TRareText& a, const TRareText& b) {
  return a + b.get();
}
inline std::string operator+(const TRareText& a, char b) {
  std::string out(a.get());
  out += b;
  return out;
}

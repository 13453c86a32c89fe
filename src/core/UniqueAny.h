#pragma once
// One owner for every kind of handle, after the unique_any of the Windows Implementation
// Library: a value plus a policy that says which values own nothing and how an owned value is
// freed. Free of any OS header; the kinds live beside the code that uses them (the seam's
// handle in platform/Win32Api.h, the Windows kinds in platform/win32/Win32Support.h).
//
// A policy (traits) type names one kind of handle:
//   using type = ...;                    the stored value: a handle, a pointer or a structure
//   static type invalid();               what an empty owner holds
//   static bool is_valid(const type&);   optional: false for every value that owns nothing,
//                                        when there is more than one (default: != invalid())
//   static void close(type&);            frees an owned value; called for valid values only
#include <concepts>
#include <type_traits>
#include <utility>

namespace vecore {

template <typename Traits>
concept UniqueTraits = requires(typename Traits::type& value) {
    { Traits::invalid() } -> std::convertible_to<typename Traits::type>;
    Traits::close(value);
};

// The common kind: null owns nothing, and Close(value) frees a value.
template <typename T, auto Close>
struct NullTraits {
    using type = T;
    static type invalid() noexcept { return nullptr; }
    static void close(type value) noexcept { Close(value); }
};

template <UniqueTraits Traits>
class UniqueAny {
public:
    using traits = Traits;
    using type = typename Traits::type;
    // Handles and pointers are handed out by value, structures by reference.
    using get_type = std::conditional_t<std::is_scalar_v<type>, type, const type&>;

    UniqueAny() noexcept : m_value(Traits::invalid()) {}
    explicit UniqueAny(type value) noexcept : m_value(std::move(value)) {}
    UniqueAny(UniqueAny&& other) noexcept : m_value(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    ~UniqueAny() { Close(); }

    static bool is_valid(const type& value) noexcept {
        if constexpr (requires { Traits::is_valid(value); })
            return Traits::is_valid(value);
        else
            return value != Traits::invalid();
    }
    explicit operator bool() const noexcept { return is_valid(m_value); }

    get_type get() const noexcept { return m_value; }
    // Frees what is held, then holds value (which must not be the value held already).
    void reset(type value = Traits::invalid()) noexcept {
        Close();
        m_value = std::move(value);
    }
    // Gives up the value without freeing it; the owner is empty afterwards.
    [[nodiscard]] type release() noexcept { return std::exchange(m_value, Traits::invalid()); }
    // Frees what is held and returns the storage, for a function that writes a new value out.
    type* put() noexcept {
        reset();
        return &m_value;
    }
    void** put_void() noexcept
        requires std::is_pointer_v<type>
    {
        return reinterpret_cast<void**>(put());
    }
    // The storage as it is, for a function that reads and changes the value in place.
    type* addressof() noexcept { return &m_value; }
    type operator->() const noexcept
        requires std::is_pointer_v<type>
    {
        return m_value;
    }
    void swap(UniqueAny& other) noexcept {
        using std::swap;
        swap(m_value, other.m_value);
    }

private:
    void Close() noexcept {
        if (is_valid(m_value)) Traits::close(m_value);
    }

    type m_value;
};

}  // namespace vecore

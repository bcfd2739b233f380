// Base types of the GUI toolkit: reference counting and the message protocol.
#pragma once

#include <cstdint>
#include <utility>

namespace VSTGUI {

using int32 = int32_t;
using uint32 = uint32_t;
using CCoord = double;
using UTF8StringPtr = const char*;
using IdStringPtr = const char*;

// Reference counting by remember/forget: a new object starts with one reference, owned by its
// creator; forget() on the last reference deletes it.
class IReference
{
public:
    virtual ~IReference() = default;
    virtual void remember() = 0;
    virtual void forget() = 0;
};

// UI thread only: the count is a plain integer.
class NonAtomicReferenceCounted : public virtual IReference
{
public:
    NonAtomicReferenceCounted() = default;
    // A copy is a new object: it starts with its own single reference.
    NonAtomicReferenceCounted(const NonAtomicReferenceCounted&) : IReference() {}
    NonAtomicReferenceCounted& operator=(const NonAtomicReferenceCounted&) { return *this; }

    void remember() override { ++referenceCount; }
    void forget() override
    {
        if (--referenceCount == 0)
            delete this;
    }
    int32_t getNbReference() const { return referenceCount; }

private:
    int32_t referenceCount = 1;
};

// Holds one reference; adopt() takes over the creator's reference without adding one.
template <typename T>
class SharedPointer
{
public:
    SharedPointer() = default;
    SharedPointer(T* object) : pointer(object) { if (pointer) pointer->remember(); }
    SharedPointer(const SharedPointer& other) : SharedPointer(other.pointer) {}
    SharedPointer(SharedPointer&& other) noexcept : pointer(std::exchange(other.pointer, nullptr)) {}
    ~SharedPointer() { reset(); }

    static SharedPointer adopt(T* object)
    {
        SharedPointer result;
        result.pointer = object;
        return result;
    }
    SharedPointer& operator=(const SharedPointer& other)
    {
        SharedPointer copy(other);
        std::swap(pointer, copy.pointer);
        return *this;
    }
    SharedPointer& operator=(SharedPointer&& other) noexcept
    {
        std::swap(pointer, other.pointer);
        return *this;
    }
    void reset()
    {
        if (auto old = std::exchange(pointer, nullptr))
            old->forget();
    }
    T* get() const { return pointer; }
    T* operator->() const { return pointer; }
    T& operator*() const { return *pointer; }
    explicit operator bool() const { return pointer != nullptr; }
    bool operator==(const T* other) const { return pointer == other; }

private:
    T* pointer = nullptr;
};

enum CMessageResult
{
    kMessageUnknown = 0,
    kMessageNotified
};

// Base of views, bitmaps, fonts and timers: counted references plus a message entry point.
class CBaseObject : public NonAtomicReferenceCounted
{
public:
    virtual CMessageResult notify(CBaseObject* /*sender*/, IdStringPtr /*message*/) { return kMessageUnknown; }
};

} // namespace VSTGUI

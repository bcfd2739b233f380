// What a drag carries into the frame: a list of typed items.
#pragma once

#include "vstguibase.h"
#include <string>
#include <vector>

namespace VSTGUI {

class IDataPackage : public virtual IReference
{
public:
    enum Type
    {
        kFilePath = 0, // a NUL-terminated UTF-8 path of a local file
        kText,         // NUL-terminated UTF-8 text
        kBinary,
        kError = -1
    };

    virtual uint32 getCount() const = 0;
    // Bytes of item `index` (for paths and text including the terminating NUL); 0 when out of range.
    virtual uint32 getDataSize(uint32 index) const = 0;
    virtual Type getDataType(uint32 index) const = 0;
    // Points `buffer` at item `index` (valid while the package lives); returns its size, or 0
    // with type kError when out of range.
    virtual uint32 getData(uint32 index, const void*& buffer, Type& type) const = 0;
};

// A package of local file paths.
class FilePathDataPackage : public IDataPackage, public NonAtomicReferenceCounted
{
public:
    explicit FilePathDataPackage(std::vector<std::string> filePaths) : paths(std::move(filePaths)) {}

    uint32 getCount() const override { return uint32(paths.size()); }
    uint32 getDataSize(uint32 index) const override { return index < getCount() ? uint32(paths[index].size() + 1) : 0; }
    Type getDataType(uint32 index) const override { return index < getCount() ? kFilePath : kError; }
    uint32 getData(uint32 index, const void*& buffer, Type& type) const override
    {
        type = getDataType(index);
        buffer = index < getCount() ? paths[index].c_str() : nullptr;
        return getDataSize(index);
    }

    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

private:
    std::vector<std::string> paths;
};

} // namespace VSTGUI

#pragma once
// What the fuzzers share: fields read off the fuzzer's input, the same layout written for
// seeds, and the seed files each fuzzer writes of itself when a test asks it to.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Reads fields off the front of the input; past its end every field reads as zero or empty.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool empty() const { return offset >= size; }
    uint8_t byte() { return value<uint8_t>(); }
    // A length 0..limit.
    uint32_t length(uint32_t limit) { return value<uint32_t>() % (limit + 1); }
    template <typename Value>
    Value value()
    {
        Value result {};
        const size_t taken = std::min(sizeof(Value), size - std::min(offset, size));
        if (taken > 0)
            std::memcpy(&result, data + offset, taken);
        offset += sizeof(Value);
        return result;
    }
    std::vector<uint8_t> bytes(size_t count)
    {
        const size_t start = std::min(offset, size);
        const size_t taken = std::min(count, size - start);
        offset = start + taken;
        return {data + start, data + start + taken};
    }
    std::vector<uint8_t> rest() { return bytes(size); }

private:
    const uint8_t* data;
    size_t size;
    size_t offset = 0;
};

// Builds an input in the layout FuzzInput reads.
class FuzzSeed {
public:
    FuzzSeed& byte(uint8_t value) { return add(value); }
    FuzzSeed& length(uint32_t value) { return add(value); }
    template <typename Value>
    FuzzSeed& add(Value value)
    {
        const auto* first = reinterpret_cast<const uint8_t*>(&value);
        bytes.insert(bytes.end(), first, first + sizeof(Value));
        return *this;
    }
    FuzzSeed& raw(const void* data, size_t count)
    {
        const auto* first = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), first, first + count);
        return *this;
    }
    FuzzSeed& raw(const std::vector<uint8_t>& more) { return raw(more.data(), more.size()); }

    std::vector<uint8_t> bytes;
};

// Each fuzzer's seeds, defined beside its LLVMFuzzerTestOneInput.
std::vector<FuzzSeed> fuzzSeeds();

// When the environment names a folder in VEXTORIA_FUZZ_SEEDS, writes the fuzzer's seeds
// there as seed-0, seed-1, ... and ends the process: the tests make each corpus this way.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* folder = std::getenv("VEXTORIA_FUZZ_SEEDS");
    if (folder == nullptr)
        return 0;
    const std::vector<FuzzSeed> seeds = fuzzSeeds();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (size_t index = 0; index < seeds.size(); ++index) {
        std::ofstream file(std::string(folder) + "/seed-" + std::to_string(index), std::ios::binary);
        file.write(reinterpret_cast<const char*>(seeds[index].bytes.data()),
                   static_cast<std::streamsize>(seeds[index].bytes.size()));
        if (!file)
            std::exit(1);
    }
    std::exit(0);
}

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Cuts a fuzzer's input into fields at NUL bytes, so one input can carry a text and the
// keys or marks it is read with.
inline std::vector<std::string> fuzzFields(const uint8_t* data, size_t size, size_t maxFields)
{
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && fields.size() < maxFields) {
            fields.emplace_back();
            continue;
        }
        fields.back() += static_cast<char>(data[i]);
    }
    return fields;
}

inline std::string_view fuzzText(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace hv::test {

// The whole of a file, as bytes.
inline std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What a program run as a child process wrote, and how it ended.
struct Finished {
    std::string out;
    std::string err;
    int status = -1; // -1 when a signal ended the process
};

} // namespace hv::test

// Files for the Win32 tests: a scratch folder of the test's own and whole-file reads and writes.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// A new, empty folder of its own under the temporary folder, removed with everything in it.
// Should no folder be made after a few names, construction throws: the test fails at once
// with the system's error rather than running without one.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // With its trailing backslash.
    const std::string& Path() const { return path_; }
    // The names of the files directly in it, folders left out.
    std::vector<std::string> Files() const;

private:
    std::string path_;
};

// Replaces the file with exactly these bytes; the result says why when it could not.
testing::AssertionResult WriteWholeFile(const std::string& path, const std::string& bytes);

// The file's bytes, or "(missing)" when it cannot be opened.
std::string ReadWholeFile(const std::string& path);

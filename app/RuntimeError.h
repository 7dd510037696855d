#pragma once
// Run-time errors carry the classic error numbers, because the user sees the number in the
// message boxes ("エラー ( 13) が発生しました、終了します。") and the handlers decide by it.

#include <exception>
#include <string>
#include <utility>

namespace ambrel {

enum ErrorNumber : int {
    kInvalidArgument = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kTypeMismatch = 13,
    // A fault of the program itself rather than of its input: an exception that is not a
    // run-time error, such as a broken invariant of the bitmap scaling.
    kInternalError = 51,
    kFileNotFound = 53,
    kDiskFull = 61,
    kInputPastEnd = 62,
    kPathAccessError = 75,
    kDialogCancelled = 32755,
};

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number)
        : number_(number), what_("run-time error " + std::to_string(number)) {}
    int number() const noexcept { return number_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    std::string what_;
};

// Another program has the file open just now (a sync client, a virus scanner), so that it
// cannot be replaced; a moment later it may be. The store raises it, and the writer tries again.
class FileHeld : public RuntimeError {
public:
    FileHeld() : RuntimeError(kPathAccessError) {}
};

// A file of the program's folder that could not be written. The box that reports it names the
// file, so that the user knows which folder has to be writable.
class FileWriteError : public RuntimeError {
public:
    FileWriteError(int number, std::string path) : RuntimeError(number), path_(std::move(path)) {}
    const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
};

} // namespace ambrel

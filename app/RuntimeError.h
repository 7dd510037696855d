#pragma once
// Run-time errors carry the classic error numbers, because the user sees the number in the
// message boxes ("エラー ( 13) が発生しました、終了します。") and the handlers decide by it.

#include <exception>
#include <string>

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

} // namespace ambrel

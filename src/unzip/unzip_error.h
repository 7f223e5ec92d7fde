#pragma once

#include <exception>
#include <string>
#include <utility>

// The one error the launcher raises: the extraction could not be run at all
// (the library is missing or unusable, an option out of range). Carries the
// number and description of the first failure and the procedure that raised
// it last.
class UnzipError : public std::exception {
public:
    UnzipError(int number, std::string description, std::string source)
        : number_(number), description_(std::move(description)), source_(std::move(source)) {}

    // The same failure, raised again by `source`.
    UnzipError RaisedBy(std::string source) const { return UnzipError(number_, description_, std::move(source)); }

    int Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Source() const { return source_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    int number_;
    std::string description_;
    std::string source_;
};

// Numbers as the classic runtime numbers these failures.
namespace unzip_error {
constexpr int kInvalidCall = 5;
constexpr int kOverflow = 6;
constexpr int kBadFileName = 52;
constexpr int kFileNotFound = 53;
constexpr int kEntryPointMissing = 453;
}  // namespace unzip_error

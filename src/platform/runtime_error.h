#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kst {

// The numbered run-time errors that routines raise to their callers. A caller's
// handler shows the number and the description in its failure box.
namespace err {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PermissionDenied = 70;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380;
constexpr int PortAlreadyOpen = 8005;
} // namespace err

class RunTimeError : public std::exception {
public:
    RunTimeError(int number, QString description);
    // An error with the standard description of its number.
    explicit RunTimeError(int number);

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

    static QString standardDescription(int number);

private:
    int number_;
    QString description_;
    std::string what_;
};

} // namespace kst

#pragma once

#include <QString>
#include <exception>
#include <string>
#include <utility>

// Classic run-time error numbers carried by AppError.
namespace ErrorNumber {
constexpr int InvalidArgument = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;
constexpr int ObjectNotSet = 91;
} // namespace ErrorNumber

// The one error type of the program: a number, the source that raised it (or
// re-raised it, "ctlCuadricula.Save") and a description for the player.
class AppError : public std::exception {
public:
    AppError(int number, QString source, QString description);

    int Number() const { return number_; }
    const QString& Source() const { return source_; }
    const QString& Description() const { return description_; }

    // The same error, re-raised by another procedure under its own name.
    AppError WithSource(const QString& source) const;

    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString source_;
    QString description_;
    std::string what_;
};

// Runs body; any error leaving it is raised again with the given source,
// keeping its number and description.
template <class Body> decltype(auto) ReraiseAs(const char* source, Body&& body) {
    try {
        return std::forward<Body>(body)();
    } catch (const AppError& error) {
        throw error.WithSource(QString::fromUtf8(source));
    }
}

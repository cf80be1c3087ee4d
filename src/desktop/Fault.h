#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

namespace desktop {

// An unexpected failure inside an operation, carrying the description the
// operator sees ("Overflow", "Subscript out of range", a file error...).
class Fault : public std::runtime_error
{
public:
    explicit Fault(const QString &description);
    [[nodiscard]] QString description() const;
};

namespace FaultText {
inline const QString Overflow = QStringLiteral("Overflow");
inline const QString SubscriptOutOfRange = QStringLiteral("Subscript out of range");
inline const QString FileNotFound = QStringLiteral("File not found");
} // namespace FaultText

// Runs an operation and traps any failure it throws: the operator gets a box
// titled "Function <operation>" reading "Error: <description>", and the
// program goes on. Returns true when the operation completed.
bool runTrapped(const QString &operation, const std::function<void()> &body);

// The box runTrapped shows, for handlers that trap on their own.
void reportFault(const QString &operation, const QString &description);

} // namespace desktop

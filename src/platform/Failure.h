#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace nc {

/// The classic run-time error numbers that Netcairn raises and reports.
enum ErrorNumber : qint32 {
    errInvalidCall = 5,
    errOverflow = 6,
    errOutOfMemory = 7,
    errInternal = 51,
    errBadFileName = 52,
    errFileNotFound = 53,
    errDeviceIO = 57,
    errDiskFull = 61,
    errPermissionDenied = 70,
    errPathFileAccess = 75,
    errPathNotFound = 76,
    errPrinter = 482,
    errClipboard = 521,
    errCancel = 32755,
};

/// The description that goes with a classic error number ("" for numbers Netcairn never raises).
QString classicDescription(qint32 number);

/// Thrown where a modal window returns because the program is ending (logout, a signal): no
/// step after it may run, so every trapped procedure passes it on, unreported, up to where the
/// toolkit called the program.
struct ProgramEnding {};

/// A failed operation, carrying the four facts the runtime error report shows.
class Failure : public std::exception {
public:
    Failure(qint32 number, QString description, QString source, qint32 helpContext = 0);

    /// A failure raised by Netcairn itself, with the classic description of its number.
    static Failure of(qint32 number);
    /// The failure a stray standard exception stands for.
    static Failure from(const std::exception& e);

    const char* what() const noexcept override { return m_what.constData(); }

    qint32 Number;
    QString Description;
    QString Source;
    qint32 HelpContext;

private:
    QByteArray m_what;
};

} // namespace nc

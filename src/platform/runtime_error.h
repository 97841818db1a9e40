#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kst {

// Every error number of the program, its serial layer and its data layer, in one
// table. They are the numbers users of serial tools and of the old desktop database
// engine know from the same situations, so the failure boxes stay recognisable.
namespace err {
// The program's own run-time errors.
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
// A file or folder that cannot be read or written: no permission, read-only, or a file
// that another program holds locked. The description names the file and the cause.
constexpr int PermissionDenied = 70;
// The system failed to read or write a file that could be opened (an I/O error, a
// full disk).
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidUseOfNull = 94;
constexpr int InvalidPropertyValue = 380;

// The serial port's properties.
constexpr int InvalidPortNumber = 8002;    // CommPort outside 1..16, or no device stands for it
constexpr int PortAlreadyOpen = 8005;      // held by this or another program
constexpr int HardwareNotAvailable = 8010; // the device exists but cannot be opened
constexpr int CommStateInvalid = 8015;     // the line cannot run with these settings
constexpr int PortNotOpen = 8018;          // Output on a closed port

// The data layer: the provider's HRESULTs as signed 32-bit values and the recordset
// errors in the 3000 range.
// 0x80004005: the file is missing, is a folder, is not one of our databases, is
// damaged, or holds what our files never hold. The description names the file and
// says which. A file that cannot be reached (permissions, another program's lock, the
// disk) raises PermissionDenied or PathFileAccessError instead, so that callers can
// tell a file that is at fault from one that is only out of reach for now.
constexpr int CannotOpen = -2147467259;
// 0x80040E4D: the database password does not match.
constexpr int InvalidPassword = -2147217843;
// 0x80040E17: creating a database over a file that exists.
constexpr int DatabaseExists = -2147217897;
// 0x80040E3F: appending a table whose name is taken.
constexpr int TableExists = -2147217857;
// 0x80040E37: a query names a table the database does not hold.
constexpr int TableNotFound = -2147217865;
// 0x80040E14: a query text the data layer does not understand.
constexpr int SyntaxError = -2147217900;
// 0x80040E10: a query names a column the table does not hold.
constexpr int UnknownColumn = -2147217904;
// 0x80040E21: a field refused a value: too long, wrong type, out of range, Null
// where none is allowed, an empty text where none is allowed, or a read-only field.
constexpr int ValueRefused = -2147217887;
// 0x80040E38: the row to be written was deleted since the recordset read it.
constexpr int RowNotFound = -2147217864;
// 0x80040E3D: a table or column definition the catalog cannot create.
constexpr int InvalidDefinition = -2147217859;
constexpr int NotAllowed = 3219;
constexpr int NoCurrentRecord = 3021;
constexpr int ItemNotFound = 3265;
constexpr int ObjectClosed = 3704;
constexpr int ObjectOpen = 3705;
} // namespace err

// The standard description of an error number; numbers whose errors always carry
// their own text (the file names, the engine's reason) get a general one.
QString describeError(int number);

class RunTimeError;

// Whether an error says that a file is out of reach for now (permissions, a lock that
// another program holds, the disk), rather than that the file itself is at fault.
bool isFileOutOfReach(const RunTimeError& error);

// The numbered run-time errors that routines raise to their callers. A caller's
// handler shows the number and the description in its failure box.
class RunTimeError : public std::exception {
public:
    RunTimeError(int number, QString description);
    // An error with the standard description of its number.
    explicit RunTimeError(int number);

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    std::string what_;
};

} // namespace kst

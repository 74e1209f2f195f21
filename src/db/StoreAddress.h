#pragma once
// Which store the program works on, read from an ODBC connect string.
//
// The default store is the SQLite file Orvex.mdb in the working directory.
// The shared store is a PostgreSQL database on a server, named by a connect
// string such as
//
//   DRIVER={PostgreSQL Unicode};Server=db.example;Port=5432;Database=event;Uid=desk;Pwd=...
//
// The connect string holds the password: it reaches the driver and nothing
// else. Every text shown to the director names the store by Description(),
// and texts that might quote the connect string go through WithoutPassword.

#include <QString>

#include <vector>

// The file of the program's data, in the working directory.
inline constexpr char kDatabaseFileName[] = "Orvex.mdb";

enum class StoreKind { File, Server };

struct StoreAddress {
    StoreKind kind = StoreKind::File;
    QString connectString;  // as given, password included
    QString driver;         // the DRIVER key, without braces
    QString server;
    QString port;  // empty for the driver's default
    QString database;
    QString user;
    QString password;

    // "host:port", or the host alone when no port is given.
    QString ServerName() const;
    // Orvex.mdb, or "PostgreSQL database event on db.example:5432".
    QString Description() const;
};

// The keys and values of a connect string; a value may be braced
// ("{PostgreSQL Unicode}", with "}}" for a brace inside it). Keys compare
// without regard to case. Throws DbError saying what is wrong when the text
// is not a list of key=value pairs.
struct ConnectStringPair {
    QString key;
    QString value;
};
std::vector<ConnectStringPair> ParseConnectString(const QString& connectString);

// The store a connect string names: a PostgreSQL driver makes it the shared
// store, any other the file. Throws DbError, with the reason and the
// connect string without its password, when the text is no connect string
// or names no server or database for a PostgreSQL driver.
StoreAddress StoreAddressOf(const QString& connectString);

// The text with the password of connectString (and any Pwd= or Password=
// value) replaced by asterisks.
QString WithoutPassword(const QString& text, const QString& connectString);

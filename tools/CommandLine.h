#pragma once
#include <QMap>
#include <QSet>
#include <QStringList>

// A small option parser: "--name value" options, "--flag" switches, and the
// remaining arguments as files ("--" ends the options).
class CommandLine {
public:
    CommandLine(const QStringList& args, const QStringList& valued, const QStringList& flags);

    const QString& error() const { return error_; }
    const QStringList& files() const { return files_; }
    bool has(const char* name) const;
    QString value(const char* name) const;
    // Reads an integer option in [low, high]; leaves out untouched when absent.
    bool intValue(const char* name, int low, int high, int* out) const;

private:
    QMap<QString, QString> values_;
    QSet<QString> flags_;
    QStringList files_;
    QString error_;
};

// Prints the message and the usage to stderr; returns the usage exit status (2).
int usageError(const QString& message);

// Prints the usage to stdout, as asked for; returns 0.
int printUsage();

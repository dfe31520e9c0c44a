#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The arguments of one command (those after its name), parsed by
// QCommandLineParser, with what is wrong worded the way every command
// reports it: "--unit needs a value", "unknown option '--bogus'". Every
// command takes -h/--help; options are written --name VALUE or --name=VALUE.
class CCommandLine {
public:
    // unknownWord names an unrecognised option in the error: "option" or "argument".
    CCommandLine(const QList<QCommandLineOption>& options, const char* unknownWord);

    // False with Error() set when an option is unknown or lacks its value.
    bool Parse(const QStringList& args);
    // Whether --help was given; it wins over wrong arguments.
    bool HelpAsked() const { return m_parser.isSet(m_help); }
    const QString& Error() const { return m_error; }

    bool IsSet(const QCommandLineOption& option) const { return m_parser.isSet(option); }
    // The last value given to the option.
    QString Value(const QCommandLineOption& option) const { return m_parser.value(option); }
    QStringList Values(const QCommandLineOption& option) const { return m_parser.values(option); }
    QStringList Positional() const { return m_parser.positionalArguments(); }

    // Each value of option as a whole number in low..high; false (with
    // value unchanged) when one is not.
    bool IntValue(const QCommandLineOption& option, int low, int high, int& value) const;

private:
    QString Wording(const QStringList& args) const;
    bool TakesValue(const QString& name) const;

    QCommandLineOption m_help;
    QList<QCommandLineOption> m_options;
    QCommandLineParser m_parser;
    QString m_unknownWord;
    QString m_error;
};

// How halvern-th-cli words wrong arguments: exit code 2 and one line that
// names what is wrong, for the options every command shares.
#include "cli/CliRun.h"

#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

TEST(CliArguments, WrongArgumentsAreNamed)
{
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{"--bogus"}, "unknown command '--bogus'"},
        {{"info", kSample, "--unit=K"}, "--unit must be C or F, not 'K'"},
        {{"export", kSample, "--tavo"}, "--tavo needs a value"},
        {{"download", "--simulate", "usb", "-o"}, "-o needs a value"},
        {{"status", "stray"}, "unknown argument 'stray'"},
        {{"status", "-x"}, "unknown argument '-x'"},
        {{"status", "--unpaced=1", "--simulate", "serial"}, "unknown argument '--unpaced=1'"},
        {{"list", "--usb", "1", "--usb", "2"}, "give only one of --usb, --port and --simulate"},
        {{"status", "--simulate", "floppy"}, "--simulate takes usb[:TYPE] or serial[:TYPE], not 'floppy'"},
        {{"status", "--simulate", "serial:1"}, "a virtual serial logger is of type 2..6, not '1'"},
        {{"status", "--simulate", "usb:x"}, "a virtual usb logger is of type 1..4, not 'x'"},
        {{"status", "--simulate", "usb", "--samples", "60001"}, "--samples takes 0..60000, not '60001'"},
        {{"simulate", "serial", "--interval", "0"}, "--interval takes minutes 1..1440, not '0'"},
        {{"simulate", "serial", "extra"}, "unknown argument 'extra'"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.error))) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}

TEST(CliArguments, OptionValueMayFollowAnEqualsSign)
{
    const CliRun spaced = Cli({QStringLiteral("info"), kSample, QStringLiteral("--unit"), QStringLiteral("C")});
    const CliRun joined = Cli({QStringLiteral("info"), QStringLiteral("--unit=C"), kSample});
    ASSERT_EQ(spaced.code, 0) << spaced.err.toStdString();
    EXPECT_EQ(joined.code, 0);
    EXPECT_TRUE(spaced.out.contains(QStringLiteral("\u00B0C")));
    EXPECT_EQ(joined.out, spaced.out);
}

// The program's help names every kind of file export writes.
TEST(CliArguments, HelpNamesEveryKindOfFileExportWrites)
{
    const CliRun help = Cli({"--help"});
    ASSERT_EQ(help.code, 0);
    const qsizetype at = help.out.indexOf(QStringLiteral("\n  export "));
    ASSERT_GE(at, 0) << help.out.toStdString();
    const QString line = help.out.mid(at + 1).section(QLatin1Char('\n'), 0, 0);
    for (const char* kind : {".tavo", "CSV", ".xlsx", "PDF"})
        EXPECT_TRUE(line.contains(QLatin1String(kind))) << kind << " in: " << line.toStdString();
}

} // namespace

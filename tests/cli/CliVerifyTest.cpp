// The fingerprint of a record on every kind of output, and halvern-th-cli
// verify: a match, a file changed by one byte, a file written before the
// header was drawn from the record, reports that carry no fingerprint or
// cannot be read.
#include "CliRun.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"
#include "support/XlsxReader.h"

#include "datafile/Scramble.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// What sha256sum prints for the file.
QString Sha256(const QString& path)
{
    return QString::fromLatin1(QCryptographicHash::hash(ReadAll(path), QCryptographicHash::Sha256).toHex());
}

// The fingerprints a report shows a reader: poppler's text of a PDF, the
// Summary sheet's SHA-256 row of a worksheet.
QStringList Shown(const QString& report)
{
    QStringList found;
    if (report.endsWith(QLatin1String(".xlsx"))) {
        XlsxBook book;
        const XlsxSheet* sheet = book.Load(report) ? book.Sheet(S("Summary")) : nullptr;
        for (int row = 0; sheet && row < sheet->RowCount(); ++row)
            if (const XlsxCell* c = sheet->Cell(row, 0); c && c->text == S("SHA-256"))
                found << (sheet->Cell(row, 1) ? sheet->Cell(row, 1)->text : QString());
        return found;
    }
    static const QRegularExpression line(S("SHA-256: ([0-9a-f]{64})(?![0-9a-f])"));
    for (auto it = line.globalMatch(PdfText(report)); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

bool CanPrint()
{
    return Cli({S("print"), S("--help")}).code == 0;
}

class CliVerify : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A data file written by this program: the sample mission saved anew.
        ASSERT_EQ(Cli({S("export"), kSample, S("--tavo"), Path("mission.tavo")}).code, 0);
    }
    QString Path(const char* name) const { return m_dir.path(S(name)); }
    TempDir m_dir;
};

TEST_F(CliVerify, EveryOutputCarriesTheSha256OfTheSavedFileAndVerifyMatchesIt)
{
    const QString tavo = Path("mission.tavo");
    ASSERT_EQ(Cli({S("export"), tavo, S("--from"), S("2026-06-16 10:00"), S("--to"), S("2026-06-16 12:00"),
                   S("--tavo"), Path("range.tavo"), S("--pdf"), Path("range.pdf")})
                  .code,
              0);
    struct Case {
        const char* kind;
        QStringList write; // the command that writes report
        QString report;
        QString data;      // the data file it belongs to
        int pages;         // pages that show the fingerprint
        bool print;        // needs the print command
    } const cases[] = {
        {"PDF report", {S("export"), tavo, S("--pdf"), Path("r.pdf")}, Path("r.pdf"), tavo, 10, false},
        {"PDF report of a range", {}, Path("range.pdf"), Path("range.tavo"), 1, false},
        {"worksheet", {S("export"), tavo, S("--xlsx"), Path("s.xlsx")}, Path("s.xlsx"), tavo, 1, false},
        {"curve pages", {S("print"), tavo, S("--curve-pages"), S("2"), S("--output"), Path("c.pdf")}, Path("c.pdf"), tavo, 2, true},
        {"text pages", {S("print"), tavo, S("--text"), S("--output"), Path("t.pdf")}, Path("t.pdf"), tavo, 7, true},
    };
    const bool canPrint = CanPrint();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        if (c.print && !canPrint)
            continue;
        if (!c.write.isEmpty()) {
            const CliRun w = Cli(c.write);
            ASSERT_EQ(w.code, 0) << w.err.toStdString();
        }
        const QString sha = Sha256(c.data);
        EXPECT_EQ(Shown(c.report), QStringList(QList<QString>(c.pages, sha)));
        const CliRun v = Cli({S("verify"), c.report, c.data});
        EXPECT_EQ(v.code, 0) << v.err.toStdString();
        EXPECT_EQ(v.out, QStringLiteral("%1 matches %2 (SHA-256: %3)\n")
                             .arg(QFileInfo(c.report).fileName(), QFileInfo(c.data).fileName(), sha));
    }
    EXPECT_NE(Sha256(Path("range.tavo")), Sha256(tavo));

    // info --json names the same fingerprint, and so does the file's archive row.
    const QJsonObject info = QJsonDocument::fromJson(Cli({S("info"), tavo, S("--json")}).out.toUtf8()).object();
    EXPECT_EQ(info.value(S("sha256")).toString(), Sha256(tavo));
    const QString db = Path("archive.sqlite");
    ASSERT_EQ(Cli({S("archive"), S("import"), tavo, S("--archive-db"), db}).code, 0);
    const CliRun list = Cli({S("archive"), S("list"), S("--json"), S("--archive-db"), db});
    const QJsonObject row = QJsonDocument::fromJson(list.out.section(QLatin1Char('\n'), 0, 0).toUtf8()).object();
    EXPECT_EQ(row.value(S("sha256")).toString(), Sha256(tavo)) << list.out.toStdString();
}

TEST_F(CliVerify, OneByteChangedInTheFileFailsNamingBothValues)
{
    const QString tavo = Path("mission.tavo");
    ASSERT_EQ(Cli({S("export"), tavo, S("--pdf"), Path("r.pdf"), S("--xlsx"), Path("s.xlsx")}).code, 0);
    const QString carried = Sha256(tavo);
    QByteArray bytes = ReadAll(tavo);
    struct Case {
        const char* change;
        qsizetype at; // a sample's digit in the body, or a description byte
    } const cases[] = {
        {"a sample", bytes.size() - 64 - 40},
        {"the description", bytes.size() - 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        QByteArray changed = bytes;
        changed[c.at] = static_cast<char>(changed[c.at] ^ 0x01);
        ASSERT_TRUE(WriteAll(Path("changed.tavo"), changed));
        const QString now = Sha256(Path("changed.tavo"));
        for (const char* report : {"r.pdf", "s.xlsx"}) {
            const CliRun v = Cli({S("verify"), Path(report), Path("changed.tavo")});
            EXPECT_EQ(v.code, 1) << report;
            EXPECT_TRUE(v.out.contains(S("does not match"))) << v.out.toStdString();
            EXPECT_TRUE(v.out.contains(carried)) << v.out.toStdString();
            EXPECT_TRUE(v.out.contains(now)) << v.out.toStdString();
            EXPECT_FALSE(v.out.contains(S(" matches "))) << v.out.toStdString();
        }
    }
}

// The data file as the writer made it while it drew the header numbers from
// the clock: other numbers, the body scrambled with their key.
QByteArray WithOtherHeader(const QByteArray& file)
{
    std::uint8_t now[HEADER_NUMBERS], drawn[HEADER_NUMBERS] = {41, 35, 190, 132, 225};
    for (int k = 0; k < HEADER_NUMBERS; ++k)
        now[k] = static_cast<std::uint8_t>(file.mid(3 * k, 3).trimmed().toInt());
    const QByteArray body = file.mid(HEADER_SIZE, file.size() - HEADER_SIZE - 64);
    const std::string plain = UnscrambleBody(body.constData(), static_cast<std::size_t>(body.size()), KeyFromHeader(now));
    QByteArray out;
    for (const std::uint8_t n : drawn)
        out += QByteArray::number(n).rightJustified(3, ' ');
    return out + QByteArray::fromStdString(ScrambleBody(plain, KeyFromHeader(drawn))) + file.right(64);
}

TEST_F(CliVerify, AFileWrittenBeforeMatchesItsRecordSavedAnew)
{
    const QByteArray old = WithOtherHeader(ReadAll(Path("mission.tavo")));
    ASSERT_TRUE(WriteAll(Path("old.tavo"), old));
    ASSERT_NE(Sha256(Path("old.tavo")), Sha256(Path("mission.tavo")));
    ASSERT_EQ(Cli({S("export"), Path("old.tavo"), S("--pdf"), Path("r.pdf")}).code, 0);
    EXPECT_EQ(Shown(Path("r.pdf")).value(0), Sha256(Path("mission.tavo")));

    const CliRun v = Cli({S("verify"), Path("r.pdf"), Path("old.tavo")});
    EXPECT_EQ(v.code, 0) << v.err.toStdString();
    EXPECT_TRUE(v.out.contains(S("matches the record of old.tavo, saved anew"))) << v.out.toStdString();
    EXPECT_TRUE(v.out.contains(Sha256(Path("old.tavo")))) << v.out.toStdString();
    // The same report matches the file its record saves to, byte for byte.
    EXPECT_EQ(Cli({S("verify"), Path("r.pdf"), Path("mission.tavo")}).code, 0);
}

// A PDF file of one page per text, its content stored plainly.
QByteArray PlainPdf(const QStringList& pages)
{
    QByteArray pdf = "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    QByteArray kids;
    for (int p = 0; p < pages.size(); ++p)
        kids += QByteArray::number(4 + 2 * p) + " 0 R ";
    pdf += "2 0 obj\n<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages.size()) + " >>\nendobj\n";
    pdf += "3 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>\nendobj\n";
    for (int p = 0; p < pages.size(); ++p) {
        const QByteArray content = "BT /F1 8 Tf 50 40 Td (" + pages[p].toLatin1() + ") Tj ET\n";
        pdf += QByteArray::number(4 + 2 * p) + " 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 600 900] "
               "/Resources << /Font << /F1 3 0 R >> >> /Contents " + QByteArray::number(5 + 2 * p) + " 0 R >>\nendobj\n";
        pdf += QByteArray::number(5 + 2 * p) + " 0 obj\n<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n"
               + content + "endstream\nendobj\n";
    }
    return pdf + "trailer\n<< /Root 1 0 R >>\n%%EOF\n";
}

TEST_F(CliVerify, ReportsThatCarryNoFingerprintOrCannotBeReadExitTwo)
{
    const QString tavo = Path("mission.tavo");
    ASSERT_EQ(Cli({S("export"), tavo, S("--pdf"), Path("r.pdf"), S("--xlsx"), Path("s.xlsx")}).code, 0);
    const QByteArray pdf = ReadAll(Path("r.pdf"));
    const QByteArray sheet = ReadAll(Path("s.xlsx"));
    QByteArray damaged = pdf;
    // The first page's content: its compressed data overwritten after the stream keyword's line end.
    const qsizetype stream = damaged.indexOf("stream", damaged.indexOf("/FlateDecode"));
    ASSERT_GT(stream, 0);
    damaged.replace(damaged.indexOf('\n', stream) + 1, 8, QByteArray(8, '\xFF'));
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } const cases[] = {
        {"plain.pdf", PlainPdf({S("Report of mission 1"), S("page 2")}), "carries no fingerprint"},
        {"cut.pdf", pdf.left(pdf.size() / 2), "truncated"},
        {"damaged.pdf", damaged, "damaged"},
        {"cut.xlsx", sheet.left(sheet.size() / 2), "truncated or damaged"},
        {"data.pdf", ReadAll(tavo), "not a PDF report or a worksheet"},
        {"empty.xlsx", QByteArray(), "not a PDF report or a worksheet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteAll(m_dir.path(S(c.name)), c.bytes));
        const CliRun v = Cli({S("verify"), m_dir.path(S(c.name)), tavo});
        EXPECT_EQ(v.code, 2);
        EXPECT_EQ(v.out, QString());
        EXPECT_TRUE(v.err.startsWith(S("halvern-th-cli verify: %1: ").arg(S(c.name)))) << v.err.toStdString();
        EXPECT_TRUE(v.err.contains(S(c.reason))) << v.err.toStdString();
    }

    // The fingerprint found in a plain PDF, and two that disagree.
    const QString sha = Sha256(tavo), other(64, u'0');
    ASSERT_TRUE(WriteAll(Path("one.pdf"), PlainPdf({S("SHA-256: ") + sha})));
    EXPECT_EQ(Cli({S("verify"), Path("one.pdf"), tavo}).code, 0);
    ASSERT_TRUE(WriteAll(Path("two.pdf"), PlainPdf({S("SHA-256: ") + sha, S("SHA-256: ") + other})));
    const CliRun two = Cli({S("verify"), Path("two.pdf"), tavo});
    EXPECT_EQ(two.code, 1);
    EXPECT_TRUE(two.out.contains(S("2 different fingerprints: %1, %2").arg(sha, other))) << two.out.toStdString();

    // A data file that is not there, wrong arguments.
    const CliRun missing = Cli({S("verify"), Path("r.pdf"), Path("none.tavo")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains(S("none.tavo: no such file"))) << missing.err.toStdString();
    EXPECT_EQ(Cli({S("verify"), Path("r.pdf")}).code, 2);
    EXPECT_EQ(Cli({S("verify"), Path("r.pdf"), tavo, tavo}).code, 2);
}

} // namespace

// Save: the kinds of file and their extension rule, the record or the
// selected range it writes, the question before replacing a file, failed
// saves that leave an earlier file as it was, and the save's audit entry.
#include "base/QtMessagePoster.h"
#include "archive/Archive.h"
#include "base/TextTable.h"
#include "datafile/LoggerFile.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/SaveKinds.h"
#include "views/GraphPage.h"
#include "views/RecordFixture.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "support/XlsxReader.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Filter(const char* extension)
{
    for (const SaveKind& kind : SaveKinds())
        if (QLatin1String(kind.extension) == QLatin1String(extension))
            return FilterText(kind, 0);
    return {};
}

TEST(SaveKinds, FiltersNameTheirExtension)
{
    const QStringList filters = SaveFilters();
    ASSERT_EQ(filters.size(), static_cast<qsizetype>(SaveKinds().size()));
    for (const char* expected : {"Halvern File (*.tavo)", "WorkSheet Files (*.xlsx)", "CSV File (*.csv)"})
        EXPECT_TRUE(filters.contains(QString::fromLatin1(expected))) << expected;
    for (const SaveKind& kind : SaveKinds()) {
        EXPECT_TRUE(FilterText(kind, 0).endsWith(QStringLiteral("(*.%1)").arg(kind.extension))) << kind.extension;
        EXPECT_NE(kind.write, nullptr);
    }
}

TEST(SaveKinds, TheExtensionRuleNamesOneFileOfOneKind)
{
    const QString folder = QStringLiteral("/home/u/run data");
    for (const SaveKind& kind : SaveKinds()) {
        const QString ext = QString::fromLatin1(kind.extension);
        SCOPED_TRACE(kind.extension);
        // Without an extension, or with one in capitals or after another dot: the filter's is appended.
        const struct {
            QString typed, written;
        } appended[] = {
            {"run1", "run1." + ext},
            {"RUN1." + ext.toUpper(), "RUN1." + ext.toUpper() + "." + ext},
            {"site.a." + ext, "site.a." + ext + "." + ext},
            {"run.1", "run.1." + ext},
        };
        for (const auto& c : appended) {
            const SaveTarget t = ResolveSaveTarget(folder + "/" + c.typed, FilterText(kind, 0));
            EXPECT_EQ(t.kind, &kind) << c.typed.toStdString();
            EXPECT_EQ(t.path, folder + "/" + c.written);
            EXPECT_EQ(t.name, c.written);
        }
        // A typed extension of a kind wins over any filter: one file, as typed.
        for (const SaveKind& filter : SaveKinds()) {
            const SaveTarget t = ResolveSaveTarget(folder + "/run1." + ext, FilterText(filter, 0));
            EXPECT_EQ(t.kind, &kind) << filter.extension;
            EXPECT_EQ(t.path, folder + "/run1." + ext);
            EXPECT_EQ(t.name, "run1." + ext);
        }
    }
    // The old worksheet extensions are no kind's: the worksheet's is appended.
    for (const char* typed : {"run1.xls", "run1.xlc"}) {
        const SaveTarget t = ResolveSaveTarget(QStringLiteral("/tmp/") + typed, Filter("xlsx"));
        EXPECT_EQ(t.name, QString::fromLatin1(typed) + ".xlsx");
    }
    EXPECT_EQ(ResolveSaveTarget(QStringLiteral("/tmp/run1"), QStringLiteral("All Files (*)")).kind, nullptr);
}

TEST(SaveKinds, TheProposedNameIsTheIdAndTheStartHour)
{
    EXPECT_EQ(DefaultSaveName(QStringLiteral(" U2512345678  "), MakeLocalTime(2018, 3, 5, 9, 41)),
              QStringLiteral("U2512345678T2018030509"));
    EXPECT_EQ(DefaultSaveName(QStringLiteral("UTH40000004"), MakeLocalTime(2024, 12, 31, 23, 59)),
              QStringLiteral("UTH40000004T2024123123"));
}

const time64 kNine = MakeLocalTime(2024, 3, 5, 9, 0);

class SaveCommand : public ::testing::Test {
protected:
    SaveCommand()
    {
        InstallQtMessagePoster();
        dialog.SetAsker([this](const QString& question) {
            questions << question;
            return answer;
        });
        dialog.SetSaveFileChooser([this](const QString& proposedPath, const QStringList& filters) {
            proposed = proposedPath;
            shownFilters = filters;
            ++dialogs;
            return choice;
        });
    }
    ~SaveCommand() override { SetMessagePoster({}); }

    // Opens a type 4 mission of 13 samples from 09:00, every 10 minutes.
    void OpenMission()
    {
        CLoggerRecord source;
        FillMission(source, 4, 13, TempUnit::Celsius);
        const QString path = missions.path("mission.tavo");
        CLoggerFile file(path, CLoggerFile::ModeWrite);
        ASSERT_TRUE(file.IsOutputOpen() && file.Save(source, false));
        dialog.OpenDataFile(path, QStringLiteral("mission.tavo"));
        Settle();
    }
    void Save(const QString& typed, const QString& filter)
    {
        choice = {out.path(typed), filter};
        dialog.OnSave();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    QStringList OutputFiles() const { return QDir(out.root()).entryList(QDir::Files | QDir::Hidden); }

    TempDir missions, out;
    CMainDialog dialog{{TempUnit::Celsius}, QSize(1920, 1080)};
    CMainDialog::SaveChoice choice;
    QString proposed;
    QStringList shownFilters, questions;
    bool answer = true;
    int dialogs = 0;
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(SaveCommand, NothingHappensWithoutSamples)
{
    dialog.OnSave();
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(dialog.StatusText(), GetText(TextId::Ready, 0));
}

TEST_F(SaveCommand, EachKindIsWrittenAndReported)
{
    OpenMission();
    for (const SaveKind& kind : SaveKinds()) {
        SCOPED_TRACE(kind.extension);
        Save(QStringLiteral("run1"), FilterText(kind, 0));
        const QString name = QStringLiteral("run1.") + kind.extension;
        EXPECT_EQ(dialog.StatusText(), GetText(TextId::FileSaved, 0) + name);
        EXPECT_GT(QFileInfo(out.path(name)).size(), 0);
    }
    EXPECT_EQ(OutputFiles().size(), static_cast<qsizetype>(SaveKinds().size()));
    EXPECT_EQ(shownFilters, SaveFilters());
    EXPECT_EQ(QFileInfo(proposed).fileName(), QStringLiteral("UTH40000004T2024030509"));
    EXPECT_TRUE(questions.isEmpty());

    CLoggerRecord back;
    CLoggerFile file(out.path("run1.tavo"), CLoggerFile::ModeRead);
    ASSERT_TRUE(file.Load(back, kDefaultDisplay));
    EXPECT_EQ(back.m_nCount, 13);
    EXPECT_FALSE(file.LoadedArea());
    XlsxBook book;
    ASSERT_TRUE(book.Load(out.path("run1.xlsx"))) << book.Error().toStdString();
    EXPECT_EQ(book.Sheet(QStringLiteral("Data"))->RowCount(), 14);
    EXPECT_TRUE(ReadAll(out.path("run1.csv")).startsWith("\xEF\xBB\xBF\"Num\",\"RecordTime\",\"Temperature\",\"Humidity\"\r\n"));
}

TEST_F(SaveCommand, TheSelectedRangeIsWhatIsSaved)
{
    OpenMission();
    auto* start = dialog.Graph()->Control<QDateTimeEdit>(CGraphPage::IDC_SELECTION_START);
    auto* end = dialog.Graph()->Control<QDateTimeEdit>(CGraphPage::IDC_SELECTION_END);
    start->setDateTime(QDateTime::fromSecsSinceEpoch(kNine + 65 * 60));
    end->setDateTime(QDateTime::fromSecsSinceEpoch(kNine + 95 * 60));
    QTest::mouseClick(dialog.Graph()->Control<QCheckBox>(CGraphPage::IDC_SAVE_SELECTION), Qt::LeftButton);
    Settle();
    ASSERT_EQ(dialog.Connection().Range().m_nCount, 3); // 10:10, 10:20, 10:30

    Save(QStringLiteral("range"), Filter("tavo"));
    EXPECT_EQ(QFileInfo(proposed).fileName(), QStringLiteral("UTH40000004T2024030510"));
    CLoggerRecord back;
    CLoggerFile file(out.path("range.tavo"), CLoggerFile::ModeRead);
    ASSERT_TRUE(file.Load(back, kDefaultDisplay));
    EXPECT_EQ(back.m_nCount, 3);
    EXPECT_EQ(back.m_tStart, kNine + 70 * 60);
    EXPECT_TRUE(file.LoadedArea());

    Save(QStringLiteral("range"), Filter("xlsx"));
    XlsxBook book;
    ASSERT_TRUE(book.Load(out.path("range.xlsx"))) << book.Error().toStdString();
    const XlsxSheet& data = *book.Sheet(QStringLiteral("Data"));
    ASSERT_EQ(data.RowCount(), 4);
    EXPECT_EQ(SerialToText(data.Cell(1, 1)->text.toDouble()), QStringLiteral("2024-3-5 10:10"));
}

TEST_F(SaveCommand, ReplacingAFileIsAskedFirst)
{
    OpenMission();
    QFile earlier(out.path("run1.xlsx"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();

    answer = false;
    Save(QStringLiteral("run1"), Filter("xlsx"));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("run1.xlsx"))) << questions[0].toStdString();
    EXPECT_EQ(ReadAll(out.path("run1.xlsx")), QByteArray("earlier"));
    EXPECT_EQ(dialog.StatusText(), GetText(TextId::FileOpened, 0) + "mission.tavo");

    answer = true;
    Save(QStringLiteral("run1.xlsx"), Filter("tavo"));
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(dialog.StatusText(), GetText(TextId::FileSaved, 0) + "run1.xlsx");
    XlsxBook book;
    EXPECT_TRUE(book.Load(out.path("run1.xlsx")));
    EXPECT_EQ(OutputFiles(), QStringList{QStringLiteral("run1.xlsx")});
}

TEST_F(SaveCommand, AFailedSaveOfAnyKindKeepsTheEarlierFileAndSaysWhy)
{
    OpenMission();
    for (const SaveKind& kind : SaveKinds()) {
        SCOPED_TRACE(kind.extension);
        const QString name = QStringLiteral("run1.") + kind.extension;
        QFile earlier(out.path(name));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        {
            FileSizeLimit limit(40);
            Save(QStringLiteral("run1"), FilterText(kind, 0));
        }
        // The writers that write the file themselves name the system's reason.
        const QString failure = GetText(TextId::SaveFailed, 0) + name + ": ";
        EXPECT_TRUE(dialog.StatusText().startsWith(failure)) << dialog.StatusText().toStdString();
        EXPECT_GT(dialog.StatusText().size(), failure.size() + 3);
        if (kind.extension == std::string_view("tavo") || kind.extension == std::string_view("csv")) {
            EXPECT_EQ(dialog.StatusText(), failure + "file too large");
        }
        EXPECT_EQ(ReadAll(out.path(name)), QByteArray("earlier"));
        QFile::remove(out.path(name));
        EXPECT_TRUE(OutputFiles().isEmpty()) << OutputFiles().join(' ').toStdString();
    }
    Save(QStringLiteral("gone/run1"), Filter("xlsx"));
    EXPECT_TRUE(dialog.StatusText().startsWith(GetText(TextId::SaveFailed, 0) + "run1.xlsx: ")) << dialog.StatusText().toStdString();
}

// The audit trail's archive and queue in a folder of the test's own, set
// before the window is made; the archive is out of reach (below a plain
// file) until the test names another.
struct AuditPlaces {
    AuditPlaces()
    {
        QFile blocker(places.path("blocked"));
        blocker.open(QIODevice::WriteOnly);
        qputenv("XDG_STATE_HOME", places.root().toUtf8());
        qputenv("HALVERN_ARCHIVE_DB", places.path("blocked/archive.sqlite").toUtf8());
    }
    ~AuditPlaces()
    {
        qunsetenv("HALVERN_ARCHIVE_DB");
        qputenv("XDG_STATE_HOME", oldState);
        if (oldState.isEmpty())
            qunsetenv("XDG_STATE_HOME");
    }
    QByteArray oldState = qgetenv("XDG_STATE_HOME");
    TempDir places;
};

class AuditedSave : public AuditPlaces, public SaveCommand {};

TEST_F(AuditedSave, ASaveIsRecordedWithItsFingerprintAndAFailureToRecordIsShownAfterTheSave)
{
    OpenMission();
    Save(QStringLiteral("first"), Filter("csv"));
    const QString saved = (GetText(TextId::FileSaved, 0) + "first.csv").trimmed();
    EXPECT_TRUE(dialog.StatusText().startsWith(saved + QStringLiteral(" \u2014 not recorded in the audit trail: ")))
        << dialog.StatusText().toStdString();
    EXPECT_TRUE(dialog.StatusText().endsWith(QStringLiteral("until the archive can be written")))
        << dialog.StatusText().toStdString();
    EXPECT_TRUE(QFile::exists(out.path("first.csv")));

    const QString archivePath = places.path("archive.sqlite");
    qputenv("HALVERN_ARCHIVE_DB", archivePath.toUtf8());
    Save(QStringLiteral("second"), Filter("tavo"));
    EXPECT_EQ(dialog.StatusText(), GetText(TextId::FileSaved, 0) + "second.tavo");
    CArchive archive;
    ArchiveAddress address;
    address.path = archivePath;
    QString error;
    ASSERT_TRUE(archive.Open(address, error)) << error.toStdString();
    std::vector<AuditEntry> entries;
    ASSERT_TRUE(archive.ListAudit({}, entries, error)) << error.toStdString();
    ASSERT_EQ(entries.size(), 2u);
    const struct {
        const char* file;
        const char* kind;
    } expected[] = {{"first.csv", "csv"}, {"second.tavo", "tavo"}};
    for (std::size_t i = 0; i < 2; ++i) {
        const QJsonObject detail = QJsonDocument::fromJson(entries[i].detail.toUtf8()).object();
        EXPECT_EQ(entries[i].action, "save");
        EXPECT_EQ(entries[i].logger, "UTH40000004");
        EXPECT_EQ(detail["kind"].toString(), expected[i].kind);
        EXPECT_EQ(detail["file"].toString(), out.path(expected[i].file));
        QFile file(out.path(expected[i].file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(detail["sha256"].toString(),
                  QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()));
    }
}

} // namespace

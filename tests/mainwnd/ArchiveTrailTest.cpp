// The audit trail in the Archive view: the entries of a selected mission
// (its logger, from its start to an hour past its stop) or of a typed
// logger ID, and the line that says whether the chain checks out, also
// after rows were changed in the database behind the program's back.
#include "archive/Archive.h"
#include "base/AuditEvent.h"
#include "mainwnd/ArchiveTableModel.h"
#include "mainwnd/ArchiveWindow.h"
#include "mainwnd/AuditTrailModel.h"
#include "mainwnd/AuditTrailPane.h"
#include "mainwnd/WindowArchive.h"
#include "support/MissionFiles.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

const char kMission[] = "UTH26060101"; // June 1, 08:00 .. 16:10
const char kOther[] = "UT326060102";

struct Planned {
    const char* logger;
    int day, hour, minute;
    const char* action;
    const char* detail;
};

// Entries 2 and 4 fall within the June 1 mission's trail.
const Planned kEntries[] = {
    {kMission, 1, 7, 30, "start", R"({"interval":600})"},
    {kMission, 1, 16, 20, "download", R"({"file":"/data/a.tavo","samples":50})"},
    {kOther, 1, 16, 25, "download", R"({"samples":40})"},
    {kMission, 1, 17, 5, "save", R"({"kind":"pdf"})"},
    {kMission, 5, 16, 20, "download", R"({"samples":60})"},
    {kMission, 1, 18, 0, "print", R"({"pages":2})"},
};

class ArchiveTrail : public ::testing::Test {
protected:
    ArchiveTrail()
    {
        QString error;
        EXPECT_TRUE(archive.Open(error)) << error.toStdString();
        for (int day : {1, 5}) {
            const QString path = folder.path(QStringLiteral("day%1.tavo").arg(day));
            EXPECT_TRUE(WriteMission(path, {kMission, day, false, 50}));
            EXPECT_EQ(archive.Import(path).outcome, ImportResult::Indexed);
        }
        std::vector<AuditEntry> entries;
        for (const Planned& p : kEntries)
            entries.push_back({0, AuditTime(JuneTime(p.day, p.hour, p.minute)), QStringLiteral("ana"),
                               QStringLiteral("bench"), QString::fromLatin1(p.action), QString::fromLatin1(p.logger),
                               QString::fromLatin1(p.detail), {}, {}});
        EXPECT_TRUE(archive.Archive().AppendAudit(entries, error)) << error.toStdString();
    }

    void SelectMission(int day)
    {
        QItemSelectionModel* selection = view.Table()->selectionModel();
        selection->clearSelection();
        for (int r = 0; r < view.Model()->rowCount(); ++r)
            if (view.Model()->Row(r).start == JuneTime(day, 8))
                selection->select(view.Model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        ASSERT_EQ(selection->selectedRows().size(), 1);
    }

    // "seq logger" of each entry listed, comma-separated.
    std::string Listed() const
    {
        QStringList rows;
        const CAuditTrailModel* model = view.Trail()->Model();
        for (int r = 0; r < model->rowCount(); ++r)
            rows << QString::number(model->Entry(r).seq) + QLatin1Char(' ') + model->Entry(r).logger;
        return rows.join(QStringLiteral(", ")).toStdString();
    }

    QString Cell(int row, int column) const
    {
        const CAuditTrailModel* model = view.Trail()->Model();
        return model->data(model->index(row, column)).toString();
    }

    // Changes the database directly, as someone with access to it could.
    void Tamper(const QString& sql)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tamper"));
            db.setDatabaseName(folder.path(QStringLiteral("archive.sqlite")));
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec(sql)) << sql.toStdString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("tamper"));
    }

    // The window's archive is at this address from the start.
    struct StoredAddress {
        explicit StoredAddress(const QString& path) { CWindowArchive::StoreAddress(path); }
        ~StoredAddress() { CWindowArchive::StoreAddress({}); }
    };

    TempDir folder;
    StoredAddress address{folder.path(QStringLiteral("archive.sqlite"))};
    DisplaySettings display{TempUnit::Celsius};
    CWindowArchive archive;
    CArchiveWindow view{archive, display, [](const QString&, QString&) { return false; }};
};

TEST_F(ArchiveTrail, SelectedMissionListsItsLoggersEntriesInItsTimeAndTheChainIntact)
{
    SelectMission(1);
    view.ShowTrail();
    EXPECT_EQ(Listed(), "2 UTH26060101, 4 UTH26060101");
    EXPECT_EQ(view.Trail()->VerdictText().toStdString(), "Chain intact: 6 entries");
    EXPECT_TRUE(view.Trail()->ScopeText().startsWith(QStringLiteral("Trail of UTH26060101 from 2026-06-01 08:00:00 ")))
        << view.Trail()->ScopeText().toStdString();

    // Times in local time with their offset; the detail readable, stored as a tooltip.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^2026-06-01 16:20:00 [+-]\\d\\d:\\d\\d$"))
                    .match(Cell(0, CAuditTrailModel::ColTime))
                    .hasMatch())
        << Cell(0, CAuditTrailModel::ColTime).toStdString();
    EXPECT_EQ(Cell(0, CAuditTrailModel::ColDetail).toStdString(), "file: /data/a.tavo, samples: 50");
    const CAuditTrailModel* model = view.Trail()->Model();
    EXPECT_EQ(model->data(model->index(0, CAuditTrailModel::ColDetail), Qt::ToolTipRole).toString(),
              QString::fromLatin1(kEntries[1].detail));
    EXPECT_EQ(Cell(1, CAuditTrailModel::ColAction), QStringLiteral("save"));
}

TEST_F(ArchiveTrail, WithNoMissionSelectedTheTypedLoggersWholeTrailIsListed)
{
    view.Table()->selectionModel()->clearSelection();
    view.ShowTrail();
    EXPECT_EQ(view.Trail()->Model()->rowCount(), 0);
    EXPECT_TRUE(view.Trail()->VerdictText().startsWith(QStringLiteral("Select a mission")));

    view.IdFilter()->setText(QString::fromLatin1(kOther));
    view.ShowTrail();
    EXPECT_EQ(Listed(), "3 UT326060102");
    EXPECT_EQ(view.Trail()->ScopeText().toStdString(), "Trail of UT326060102 (entries: 1)");
}

struct Tampering {
    const char* sql;
    const char* verdict;
};

class ArchiveTrailTampered : public ArchiveTrail, public ::testing::WithParamInterface<Tampering> {};

TEST_P(ArchiveTrailTampered, TheVerdictNamesTheFirstBadEntry)
{
    Tamper(QString::fromLatin1(GetParam().sql));
    SelectMission(1);
    view.ShowTrail();
    EXPECT_EQ(view.Trail()->VerdictText().toStdString(), GetParam().verdict);
    if (qEnvironmentVariableIsSet("HALVERN_TRAIL_SHOT")) {
        view.resize(1100, 700);
        view.grab().save(qEnvironmentVariable("HALVERN_TRAIL_SHOT"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EditedOrDeleted, ArchiveTrailTampered,
    ::testing::Values(Tampering{"UPDATE audit_trail SET detail = '{\"samples\":41}' WHERE seq = 3",
                                "Chain broken at entry 3 (entry 3: its hash does not match its contents)"},
                      Tampering{"DELETE FROM audit_trail WHERE seq = 4",
                                "Chain broken at entry 4 (entry 4 is missing)"}));

} // namespace

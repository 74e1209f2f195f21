#include "support/DbTest.h"

#include "db/Database.h"
#include "db/Recordset.h"
#include "report/ReportOutput.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"

#include <QDir>
#include <QFile>

void DbTest::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir->path()));
    auto scripted = std::make_unique<ScriptedUi>();
    m_ui = scripted.get();
    m_previousUi = InstallUiServices(std::move(scripted));
    ResetCurrentTournament();
    ScoringSystem = CScoringSystem{};
    g_printerPort.clear();
    try {
        m_store = std::make_unique<ScratchStore>();
    } catch (const std::exception& failure) {
        FAIL() << failure.what();
    }
}

void DbTest::TearDown()
{
    if (m_ui) m_ui->VerifyAllUsed();
    m_store.reset();
    CDatabase::Close();
    InstallUiServices(std::move(m_previousUi));
    m_ui = nullptr;
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void DbTest::Exec(const SqlStatement& statement) { ExecuteSQL(statement); }

int DbTest::Int(const SqlStatement& statement)
{
    CRecordset rs(statement);
    if (rs.IsEOF()) {
        ADD_FAILURE() << "no row from: " << statement.Text().toStdString();
        return 0;
    }
    return rs.GetInt(0);
}

int DbTest::Count(const SqlStatement& statement)
{
    int n = 0;
    for (CRecordset rs(statement); !rs.IsEOF(); rs.MoveNext()) ++n;
    return n;
}

std::vector<QStringList> DbTest::Rows(const SqlStatement& statement)
{
    std::vector<QStringList> rows;
    for (CRecordset rs(statement); !rs.IsEOF(); rs.MoveNext()) {
        QStringList row;
        for (int c = 0; c < rs.ColumnCount(); ++c) row << rs.GetString(c);
        rows.push_back(row);
    }
    return rows;
}

QString DbTest::PathOf(const QString& fileName) const { return QDir(m_dir->path()).filePath(fileName); }

QString DbTest::ReadFile(const QString& fileName) const
{
    QFile file(PathOf(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << fileName.toStdString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

#pragma once
// Fixture of every test that touches the database or a dialog: a scratch
// folder as the working directory, a fresh database opened through the real
// ODBC stack with the program's own tables (Orvex.mdb in the folder, or a
// database on the test server: support/ScratchStore.h), the scripted user
// interface, and the process-wide state as at start-up.

#include "db/Format.h"
#include "support/ScratchStore.h"
#include "support/ScriptedUi.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class DbTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a write statement.
    static void Exec(const SqlStatement& statement);
    // Column 0 of the first row as an integer; fails the test when there is no row.
    static int Int(const SqlStatement& statement);
    // Number of rows the statement yields.
    static int Count(const SqlStatement& statement);
    // All rows, each a list of texts.
    static std::vector<QStringList> Rows(const SqlStatement& statement);

    // Path of a file in the scratch folder.
    QString PathOf(const QString& fileName) const;
    // Contents of a file in the scratch folder, as UTF-8 text.
    QString ReadFile(const QString& fileName) const;

    ScriptedUi& ui() { return *m_ui; }
    // The database the test runs on.
    const ScratchStore& store() const { return *m_store; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScratchStore> m_store;
    QString m_previousDir;
    ScriptedUi* m_ui = nullptr;
    std::unique_ptr<UiServices> m_previousUi;
};

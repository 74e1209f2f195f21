#include "support/BenchDatabase.h"

#include <QDir>

BenchDatabase::BenchDatabase() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
    m_store = std::make_unique<ScratchStore>();
}

BenchDatabase::~BenchDatabase()
{
    m_store.reset();
    QDir::setCurrent(m_previous);
}

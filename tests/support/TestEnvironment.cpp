#include "TestEnvironment.h"

#include "model/ModelContainer.h"

#include <QLocale>
#include <QStandardPaths>
#include <QTest>

#include <ctime>

namespace lqtest {

void setTimeZone(const QByteArray &ianaName)
{
    qputenv("TZ", ianaName);
    tzset();
}

void pinEnvironment()
{
    setTimeZone("Europe/Berlin");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStandardPaths::setTestModeEnabled(true);
}

TemporaryStore::TemporaryStore()
{
    QVERIFY2(m_dir.isValid(), "no temporary folder");
    reopen();
}

TemporaryStore::~TemporaryStore() = default;

QString TemporaryStore::path() const
{
    return m_dir.filePath(QStringLiteral("journal.sqlite"));
}

ModelContext *TemporaryStore::context() const
{
    return m_container ? m_container->mainContext() : nullptr;
}

void TemporaryStore::close()
{
    m_container.reset();
}

void TemporaryStore::reopen()
{
    m_container.reset();
    QString error;
    m_container = ModelContainer::open(path(), &error);
    QVERIFY2(m_container, qPrintable(error));
}

} // namespace lqtest

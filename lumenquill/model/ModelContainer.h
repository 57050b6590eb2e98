#pragma once

#include <QString>

#include <memory>

class ModelContext;
class QLockFile;

// Owns the connection to one journal file and its main context.
//
// Opening never changes a file it cannot use: a file that is not a journal, a damaged or
// truncated one, or one written by a newer version is reported and left as it was. Only
// one container, in one process, holds a journal at a time.
class ModelContainer
{
public:
    // The store's schema version, 1.0.0, kept in the file's user_version.
    static constexpr int schemaVersion = 10000;

    // Opens the journal at path, creating it (and its folder) when missing.
    static std::unique_ptr<ModelContainer> open(const QString &path, QString *error);
    // The journal in the user's data folder.
    static QString defaultStorePath();

    ~ModelContainer();
    ModelContainer(const ModelContainer &) = delete;
    ModelContainer &operator=(const ModelContainer &) = delete;

    ModelContext *mainContext() const { return m_context.get(); }
    QString path() const { return m_path; }

private:
    ModelContainer(const QString &path, const QString &connectionName,
                   std::unique_ptr<QLockFile> lock);

    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    QString m_connectionName;
    std::unique_ptr<ModelContext> m_context;
};

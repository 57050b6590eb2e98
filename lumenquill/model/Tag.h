#pragma once

#include "model/PersistentIdentifier.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class ModelContext;
class Note;

// One distinct hashtag word, and the notes whose text carries it.
class Tag : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QDateTime createdAt READ createdAt WRITE setCreatedAt NOTIFY createdAtChanged)

public:
    // A new tag, in no store until inserted; neither value is normalised.
    Tag(const QString &name, const QDateTime &createdAt, QObject *parent = nullptr);
    ~Tag() override;

    PersistentIdentifier id() const { return m_id; }
    ModelContext *modelContext() const { return m_context; }

    QString name() const { return m_name; }
    void setName(const QString &name);

    QDateTime createdAt() const { return m_createdAt; }
    void setCreatedAt(const QDateTime &createdAt);

    // The notes that carry the tag, loaded from the store when first read.
    QList<Note *> notes() const;
    void setNotes(const QList<Note *> &notes);
    // The latest day among the tag's notes (invalid when it has none), known without
    // loading the notes themselves.
    QDate latestNoteDay() const;

Q_SIGNALS:
    void nameChanged();
    void createdAtChanged();
    void notesChanged();

private:
    friend class ModelContext;
    friend class Note;

    Tag(ModelContext *context, PersistentIdentifier id, const QString &name,
        const QDateTime &createdAt);

    void ensureNotesLoaded() const;

    ModelContext *m_context = nullptr;
    PersistentIdentifier m_id = 0;
    QString m_name;
    QDateTime m_createdAt;
    mutable QList<Note *> m_notes;
    mutable bool m_notesLoaded = true;
    mutable std::optional<QDate> m_latestNoteDay;
};

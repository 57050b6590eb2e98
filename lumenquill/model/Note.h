#pragma once

#include "model/PersistentIdentifier.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class ModelContext;
class Tag;

// The text written for one calendar day, and the tags that text carries.
//
// The day is kept as a calendar day, so a note stays on its day when the user changes
// time zone; date() gives that day's start in the current time zone. Handles are unique
// per stored row (the context's identity map), so pointer equality is record identity.
class Note : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QDateTime date READ date WRITE setDate NOTIFY dateChanged)
    Q_PROPERTY(QString content READ content WRITE setContent NOTIFY contentChanged)

public:
    // A new note, in no store until inserted; the date is normalised to its local day.
    explicit Note(const QDateTime &date, const QString &content = QString(),
                  QObject *parent = nullptr);
    ~Note() override;

    PersistentIdentifier id() const { return m_id; }
    ModelContext *modelContext() const { return m_context; }

    QDate day() const { return m_day; }
    QDateTime date() const;
    void setDate(const QDateTime &date);

    QString content() const;
    void setContent(const QString &content);

    // The tags the note's text carries; a note that never had tags reads as an empty list.
    QList<Tag *> tags() const;
    void setTags(const QList<Tag *> &tags);
    void addTag(Tag *tag);
    void removeTag(Tag *tag);

Q_SIGNALS:
    void dateChanged();
    void contentChanged();
    void tagsChanged();

private:
    friend class ModelContext;
    friend class Tag;

    // A handle for a stored row, made by the context only.
    Note(ModelContext *context, PersistentIdentifier id, QDate day);

    void ensureTagsLoaded() const;
    void linkChanged(const QList<Tag *> &added, const QList<Tag *> &removed);

    ModelContext *m_context = nullptr;
    PersistentIdentifier m_id = 0;
    QDate m_day;
    mutable QString m_content;
    mutable bool m_contentLoaded = true;
    mutable QList<Tag *> m_tags;
    mutable bool m_tagsLoaded = true;
};

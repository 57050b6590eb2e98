#include "tags/TagSync.h"

#include "Fatal.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "tags/extractHashtags.h"

#include <QDateTime>
#include <QSet>

#include <memory>

void updateTags(ModelContext *context, Note *note, const QString &text)
{
    const std::optional<QSet<QString>> wanted = extractHashtags(text);
    if (!wanted)
        return;
    const QList<Tag *> linked = note->tags();
    QSet<QString> current;
    for (const Tag *tag : linked)
        current.insert(tag->name());

    for (const QString &name : *wanted - current)
        note->addTag(fetchOrCreateTag(context, name));

    const QSet<QString> gone = current - *wanted;
    if (!gone.isEmpty()) {
        for (Tag *tag : linked) {
            if (gone.contains(tag->name()))
                note->removeTag(tag);
        }
    }
    context->save();
}

Tag *fetchOrCreateTag(ModelContext *context, const QString &name)
{
    const FetchResult<Tag> fetched = context->fetchTag(name);
    if (!fetched.ok())
        fatalError(QStringLiteral("Failed to fetch or create tag ") + name + QStringLiteral(": ") +
                   fetched.error);
    if (fetched.record)
        return fetched.record;
    auto tag = std::make_unique<Tag>(name, QDateTime::currentDateTime());
    if (!context->insert(tag.get()))
        fatalError(QStringLiteral("Failed to fetch or create tag ") + name +
                   QStringLiteral(": the journal refused the new tag"));
    return tag.release();
}

#include "app/editor/SpellChecker.h"

#include <QThread>
#include <QTimerEvent>

#include <algorithm>

#include <enchant.h>

namespace {

// Enough for every word one is likely to meet in a long note, and small next to its text.
constexpr qsizetype mostKnownWords = 100000;

// The window goes on screen first: on two cores, loading at once would hold it up.
constexpr int loadDelay = 250;

} // namespace

QStringList SpellChecker::languagesFor(const QLocale &locale)
{
    QStringList languages;
    if (locale.language() != QLocale::C) {
        const QString name = locale.name();
        languages << name << name.section(u'_', 0, 0);
    }
    languages << QStringLiteral("en_US") << QStringLiteral("en");
    languages.removeDuplicates();
    return languages;
}

SpellChecker *SpellChecker::forLanguages(const QStringList &languages)
{
    static auto *checkers = new QHash<QStringList, SpellChecker *>;
    SpellChecker *&checker = (*checkers)[languages];
    if (!checker)
        checker = new SpellChecker(languages);
    return checker;
}

SpellChecker::SpellChecker(const QStringList &languages, QObject *parent) : QObject(parent)
{
    m_loader = QThread::create([this, languages] { load(languages); });
    connect(m_loader, &QThread::finished, this, &SpellChecker::finishLoading);
}

void SpellChecker::loadSoon()
{
    if (!m_loading && !m_loadTimer.isActive())
        m_loadTimer.start(loadDelay, this);
}

void SpellChecker::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_loadTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    m_loadTimer.stop();
    startLoading();
}

void SpellChecker::startLoading()
{
    if (m_loading)
        return;
    m_loading = true;
    m_loader->start();
}

SpellChecker::~SpellChecker()
{
    m_loader->wait();
    delete m_loader;
    if (m_dictionary)
        enchant_broker_free_dict(m_broker, m_dictionary);
    if (m_broker)
        enchant_broker_free(m_broker);
}

// On the loader's thread; nothing else touches the broker until it has finished.
void SpellChecker::load(const QStringList &languages)
{
    m_broker = enchant_broker_init();
    if (!m_broker)
        return;
    // Every dictionary installed, for a bare language (de) to find one of its countries' (de_DE).
    QStringList installed;
    enchant_broker_list_dicts(
        m_broker,
        [](const char *tag, const char *, const char *, const char *, void *list) {
            static_cast<QStringList *>(list)->append(QString::fromUtf8(tag));
        },
        &installed);
    installed.sort();
    for (const QString &language : languages) {
        QString tag = language;
        if (!installed.contains(tag) && !tag.contains(u'_')) {
            const auto country =
                std::find_if(installed.cbegin(), installed.cend(),
                             [&](const QString &t) { return t.startsWith(tag + u'_'); });
            // The language's own country first: de_DE rather than de_AT.
            if (installed.contains(tag + u'_' + tag.toUpper()))
                tag += u'_' + tag.toUpper();
            else if (country != installed.cend())
                tag = *country;
        }
        if (!installed.contains(tag))
            continue;
        m_dictionary = enchant_broker_request_dict(m_broker, tag.toUtf8().constData());
        if (m_dictionary) {
            m_language = tag;
            return;
        }
    }
}

void SpellChecker::finishLoading()
{
    if (m_ready)
        return;
    startLoading();
    m_loader->wait();
    m_ready = true;
    Q_EMIT ready();
}

bool SpellChecker::hasDictionary()
{
    finishLoading();
    return m_dictionary;
}

bool SpellChecker::isCorrect(const QString &word)
{
    if (!m_ready || !m_dictionary)
        return true;
    const auto known = m_known.constFind(word);
    if (known != m_known.cend())
        return *known;
    const QByteArray utf8 = word.toUtf8();
    // Enchant answers less than zero when it cannot tell; that is no reason to mark a word.
    const bool correct = enchant_dict_check(m_dictionary, utf8.constData(), utf8.size()) <= 0;
    if (m_known.size() >= mostKnownWords)
        m_known.clear();
    m_known.insert(word, correct);
    return correct;
}

QStringList SpellChecker::suggestions(const QString &word, int most)
{
    if (!hasDictionary())
        return {};
    const QByteArray utf8 = word.toUtf8();
    size_t count = 0;
    char **found = enchant_dict_suggest(m_dictionary, utf8.constData(), utf8.size(), &count);
    QStringList words;
    for (size_t i = 0; i < count && words.size() < most; ++i)
        words.append(QString::fromUtf8(found[i]));
    if (found)
        enchant_dict_free_string_list(m_dictionary, found);
    return words;
}

void SpellChecker::addToDictionary(const QString &word)
{
    if (!hasDictionary())
        return;
    const QByteArray utf8 = word.toUtf8();
    enchant_dict_add(m_dictionary, utf8.constData(), utf8.size());
    m_known.insert(word, true);
    Q_EMIT wordsChanged();
}

void SpellChecker::ignore(const QString &word)
{
    if (!hasDictionary())
        return;
    const QByteArray utf8 = word.toUtf8();
    enchant_dict_add_to_session(m_dictionary, utf8.constData(), utf8.size());
    m_known.insert(word, true);
    Q_EMIT wordsChanged();
}

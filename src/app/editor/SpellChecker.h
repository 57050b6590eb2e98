#pragma once

#include <QBasicTimer>
#include <QHash>
#include <QLocale>
#include <QObject>
#include <QStringList>

class QThread;
struct str_enchant_broker;
struct str_enchant_dict;

// Asks Enchant whether words are spelled right, in the first language of a list that has a
// dictionary installed. Loading a dictionary takes longer than opening the window, so it is
// loaded on a thread of its own, once it is needed; until it is there, every word counts as
// right.
class SpellChecker : public QObject
{
    Q_OBJECT

public:
    // The languages to try for a locale, best first: its full name (de_CH), its language (de,
    // which stands for any of its countries: de_DE), then English.
    static QStringList languagesFor(const QLocale &locale);

    // The checker for languages, shared by every editor of the program and kept until it
    // ends: a dictionary takes long to load, and what the user said to ignore is ignored for
    // as long as the program runs.
    static SpellChecker *forLanguages(const QStringList &languages);

    explicit SpellChecker(const QStringList &languages, QObject *parent = nullptr);
    ~SpellChecker() override;

    // Starts loading the dictionary shortly, if it is not loaded yet.
    void loadSoon();
    // Whether the dictionary has been looked for; ready() says when.
    bool isReady() const { return m_ready; }
    // Loads the dictionary, or waits for it, if it is not there yet.
    bool hasDictionary();
    QString language() const { return m_language; }

    bool isCorrect(const QString &word);
    QStringList suggestions(const QString &word, int most);
    // Into the personal word list, for good.
    void addToDictionary(const QString &word);
    // Right from now until the program ends.
    void ignore(const QString &word);

Q_SIGNALS:
    // The dictionary was loaded, or none was found.
    void ready();
    // A word was added or ignored: words marked before may be right now.
    void wordsChanged();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void startLoading();
    void load(const QStringList &languages);
    void finishLoading();

    QThread *m_loader = nullptr;
    QBasicTimer m_loadTimer;
    bool m_loading = false;
    bool m_ready = false;
    str_enchant_broker *m_broker = nullptr;
    str_enchant_dict *m_dictionary = nullptr;
    QString m_language;
    // Enchant's answers: retyping a word, or scrolling back to it, asks Enchant nothing.
    QHash<QString, bool> m_known;
};

// Writes generated journals for measurements, and a short demo journal for screenshots.
//
// Usage: lq_make_journal [--seed S] [--tags T] PATH DAYS
//        lq_make_journal --demo en|de PATH
//
// The first form writes DAYS days ending today, oldest first, through the program's own store
// code (JournalDatabase and syncTags, as a save does), a thousand days to a transaction. About
// one day in ten has no note. The others hold 200 to 3,000 characters of English-like prose in
// paragraphs and short lists, with now and then a word in another script (Greek, Cyrillic,
// CJK, Arabic and more) or an emoji, and 0 to 8 hashtags from a vocabulary of T tags (5,000
// unless given) in a Zipf spread: a few tags are on many notes, most on a few. Today always has
// a note, as the program opens on it, and the day DAYS/2 days ago holds one of about 1 MB
// with some 2,000 distinct hashtags. A tag is made at a time on the day of its first note.
// Everything comes from QRandomGenerator seeded with S (20261206 unless given): the same
// arguments on the same day give the same journal, only the dates follow the clock. One line
// on stdout sums the journal up: its days, notes, tags and characters, and where the big note
// is.
//
// The second form writes a dozen everyday notes over the last three weeks, in English or
// German, for screenshots.

#include "core/Hashtags.h"
#include "core/JournalDatabase.h"
#include "core/TagSync.h"
#include "core/TextCounts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <malloc.h>
#include <numeric>
#include <optional>
#include <vector>

namespace {

struct DemoNote
{
    int daysAgo;
    const char *english;
    const char *german;
};

// Tags in ASCII in both languages: a word such as "#bücher" makes no tag.
constexpr DemoNote demoNotes[] = {
    {0,
     "A slow morning\n\nCoffee on the balcony while the rain passed. Finished the last chapter "
     "of the lighthouse novel: the ending was quieter than I expected, and better for it. "
     "#books\n\nIn the afternoon I repotted the basil and tied up the tomatoes before the wind "
     "came back. #garden\n\nThis week:\n- call Grandma about the birthday lunch #family\n- "
     "return the library books\n- 5 km on Wednesday #running",
     "Ein ruhiger Morgen\n\nKaffee auf dem Balkon, während der Regen vorbeizog. Das letzte "
     "Kapitel des Leuchtturm-Romans gelesen: leiser als erwartet, und gerade deshalb gut. "
     "#lesen\n\nAm Nachmittag das Basilikum umgetopft und die Tomaten festgebunden, bevor der "
     "Wind wiederkam. #garten\n\nDiese Woche:\n- Oma wegen des Geburtstagsessens anrufen "
     "#familie\n- die Bücher zur Bibliothek bringen\n- Mittwoch 5 km laufen #laufen"},
    {1,
     "Evening run along the river\n\n6.2 km at an easy pace. The light over the water was "
     "lovely. #running",
     "Abendlauf am Fluss\n\n6,2 km, ganz locker. Schönes Licht über dem Wasser. #laufen"},
    {2,
     "Market day\n\nPears, sourdough bread and far too many tulips. Tried Lena's lentil soup "
     "at last. #cooking",
     "Markttag\n\nBirnen, Sauerteigbrot und viel zu viele Tulpen. Endlich Lenas Linsensuppe "
     "ausprobiert. #kochen"},
    {3,
     "Reading notes\n\nStarted the lighthouse novel. Short chapters, good for the train. "
     "#books",
     "Lesenotizen\n\nDen Leuchtturm-Roman angefangen. Kurze Kapitel, gut für die Bahn. #lesen"},
    {5, "First frost\n\nCovered the dahlias and brought the rosemary inside. #garden",
     "Erster Frost\n\nDie Dahlien abgedeckt und den Rosmarin hereingeholt. #garten"},
    {6,
     "Called Mum\n\nShe is planning the birthday lunch for the 20th. I will bring the apple "
     "cake. #family #cooking",
     "Mama angerufen\n\nSie plant das Geburtstagsessen am 20. Ich bringe den Apfelkuchen mit. "
     "#familie #kochen"},
    {8,
     "Long run\n\n12 km. Heavy legs after the first hour, but the hills felt easier than "
     "last month. #running",
     "Langer Lauf\n\n12 km. Schwere Beine nach der ersten Stunde, aber die Hügel gingen "
     "leichter als letzten Monat. #laufen"},
    {9,
     "Book club\n\nWe talked about the ending for an hour. Next month something short. "
     "#books",
     "Lesekreis\n\nEine Stunde lang über das Ende geredet. Nächsten Monat etwas Kurzes. #lesen"},
    {11, "Seeds for spring\n\nOrdered sweet peas, cosmos and two kinds of beans. #garden",
     "Saatgut für den Frühling\n\nWicken, Schmuckkörbchen und zwei Sorten Bohnen bestellt. "
     "#garten"},
    {13,
     "Sunday pancakes\n\nThe kids insisted on blueberries. Saved the batter recipe. #family "
     "#cooking",
     "Pfannkuchen zum Frühstück\n\nDie Kinder wollten unbedingt Blaubeeren. Das Rezept für den "
     "Teig aufgehoben. #familie #kochen"},
    {16, "Library\n\nReturned three, borrowed four. The pile on the nightstand grows. #books",
     "Bibliothek\n\nDrei zurückgebracht, vier ausgeliehen. Der Stapel auf dem Nachttisch "
     "wächst. #lesen"},
    {18, "Quiet evening\n\nTea, a blanket and the first pages of a new novel. #books",
     "Stiller Abend\n\nTee, eine Decke und die ersten Seiten eines neuen Romans. #lesen"},
};

int fail(const QString &error)
{
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
}

int writeDemo(JournalDatabase &journal, bool german)
{
    const QDate today = QDate::currentDate();
    const QDateTime now = QDateTime::currentDateTime();
    Transaction transaction = journal.transaction();
    for (const DemoNote &demo : demoNotes) {
        const QString text = QString::fromUtf8(german ? demo.german : demo.english);
        const auto note = journal.insertNote(today.addDays(-demo.daysAgo), text);
        const auto synced =
            note ? syncTags(journal, *note, text, now) : Result<TagSyncChanges>(note.failure());
        if (!synced)
            return fail(synced.error());
    }
    const auto committed = transaction.commit();
    return committed ? 0 : fail(committed.error());
}

// The words the generated notes are made of, by their part in a sentence. Each list is one
// string of words split at spaces; an underscore stands for a space inside a word.
const char *const subjectWords = "I I I I I we we she he they Grandma Mum Dad Lena Tom my_sister "
                                 "my_brother the_kids the_neighbours everyone";
const char *const determinerWords = "the the the the a a my our some that this every";
const char *const adjectiveWords =
    "warm cold wet dry bright dark grey green blue golden slow fast tired happy calm busy "
    "lazy careful strange lovely quiet loud small big old new first last long long short "
    "heavy easy good better bad early late whole empty full fresh";
const char *const nounWords =
    "morning walk coffee rain letter music day day light market river city night week "
    "weekend afternoon evening breakfast lunch dinner kitchen window table book chapter page "
    "story novel poem song piano guitar radio podcast film news paper email message phone "
    "meeting office desk project plan idea list problem answer question mistake budget bill "
    "money shop bakery bread cheese apples pears soup tea cake pasta salad bike bus car "
    "station platform tram train bridge street park forest hill mountain lake sea beach "
    "harbour island village town road path field tree leaves flowers roses tulips basil "
    "tomatoes seeds frost snow wind storm sun clouds fog sky stars moon house room garden "
    "door roof dog cat birds work doctor friend";
const char *const objectVerbWords =
    "read wrote cooked baked cleaned fixed painted planted watered bought sold sent found "
    "lost forgot remembered watched visited met missed finished started tried carried opened "
    "closed packed called noticed shared borrowed returned";
const char *const verbWords =
    "walked ran slept waited worked laughed talked cycled swam rested stayed arrived left "
    "stopped wandered";
const char *const prepositionWords =
    "to in in at on along with with after before under over through across near behind into "
    "from";
const char *const adverbWords = "slowly quickly finally again early late together alone outside "
                                "inside home away back today yesterday twice";
const char *const joinerWords = ", and|, but|, so| because| while|, and then";
const char *const todoWords =
    "buy call fix return book clean pay send write read pick_up water finish order ask";

// Words with letters beyond ASCII, one of them decomposed (an e and a combining acute).
const char *const accentedWords =
    "Köln Zürich Málaga Kraków Reykjavík Göteborg Besançon Łódź Ålesund São_Paulo café naïve "
    "façade crème brûlée jalapeño smörgåsbord résumé Straße Überraschung cafe\xcc\x81";

// Greek, Cyrillic, Chinese, Japanese, Korean, Arabic, Hebrew, Devanagari, Thai, Georgian.
const char *const otherScriptWords =
    "καλημέρα θάλασσα φίλος ευχαριστώ Αθήνα привет спасибо дорога книга Москва завтра "
    "東京 友達 桜 咖啡 你好 谢谢 图书馆 ありがとう 学校 おはよう 안녕하세요 감사합니다 "
    "مرحبا شكرا كتاب بحر القاهرة שלום תודה नमस्ते धन्यवाद สวัสดี გამარჯობა";

// Smileys and things, flags, a skin tone, emoji with a variation selector, a keycap and
// sequences joined by zero-width joiners (woman technologist, woman running, family): each
// one character on screen. Escaped, as editors and formatters disagree on their widths.
const char *const emojiWords =
    "\U0001F642 \U0001F600 \U0001F602 \U0001F634 \u2615 \U0001F389 \U0001F44D \U0001F331 "
    "\U0001F4DA \U0001F6B2 \U0001F355 \U0001F382 \U0001F415 \U0001F914 "
    "\U0001F1E9\U0001F1EA \U0001F1EF\U0001F1F5 \U0001F44D\U0001F3FD \U0001F64F\U0001F3FB "
    "\U0001F327\uFE0F \u2600\uFE0F \u2764\uFE0F \u2708\uFE0F 1\uFE0F\u20E3 "
    "\U0001F469\u200D\U0001F4BB \U0001F3C3\u200D\u2640\uFE0F "
    "\U0001F468\u200D\U0001F469\u200D\U0001F467";

// The most used tags, most used first; the rest of the vocabulary is built from them.
const char *const tagWords =
    "work family running books garden cooking travel friends music health reading ideas "
    "meeting project sleep weather kids coffee walk movies dinner school yoga weekend "
    "gratitude dreams mood budget shopping house cycling hiking photography writing learning "
    "doctor birthday holiday vacation beach mountains city train conference piano guitar "
    "painting knitting baking recipe lunch breakfast meditation therapy goals review todo "
    "later important call email letter podcast news history science code linux bug release "
    "team dog cat swimming football tennis chess games art museum concert theater volunteer "
    "neighbours car bike repair moving rent tax bank insurance job interview salary office "
    "remote commute lecture exam homework study thesis research paper notes journal poetry "
    "novel language german french spanish japanese spring summer autumn winter rain snow "
    "sunrise sunset stars tea wine beer pizza soup bread market flowers trees birds";

constexpr int defaultSeed = 20261206;
constexpr int defaultTagCount = 5000;
constexpr int maxTagCount = 1000000;
constexpr qint64 maxDays = 1000000;
constexpr qsizetype shortestNote = 200;
constexpr qsizetype longestNote = 3000;
// How far the characters summed up word by word may be off.
constexpr qsizetype countMargin = 20;
constexpr qsizetype bigNoteBytes = 1000000;
constexpr int bigNoteTags = 2000;
constexpr int daysPerTransaction = 1000;
// Out of 100: a day without a note, and a note with 0, 1, ... 8 hashtags.
constexpr int emptyDayPercent = 10;
constexpr int tagCountWeights[] = {22, 17, 16, 13, 11, 8, 6, 4, 3};

// A word with what it adds to a note's counts.
struct Word
{
    QString text;
    QString capitalized;
    qsizetype characters = 0;
    qsizetype bytes = 0;
};

QList<Word> wordList(const char *words, char separator = ' ')
{
    QList<Word> list;
    for (const QString &part : QString::fromUtf8(words).split(QLatin1Char(separator))) {
        Word word;
        word.text = QString(part).replace(QLatin1Char('_'), QLatin1Char(' '));
        word.capitalized = word.text;
        if (word.text.at(0).isLower())
            word.capitalized[0] = word.text.at(0).toUpper();
        word.characters = characterCount(word.text);
        word.bytes = word.text.toUtf8().size();
        list.append(word);
    }
    return list;
}

// A note as it grows, with its length in UTF-8 bytes as the file holds it and in characters.
// The characters are summed up piece by piece, every piece counted alone, which is close but
// not always what the editor counts: Qt's segmentation of some scripts, Devanagari for one,
// depends on what else the text holds. count() makes the sum exact.
struct Text
{
    QString text;
    qsizetype characters = 0;
    qsizetype bytes = 0;

    void add(const Word &word, bool capital = false)
    {
        text += capital ? word.capitalized : word.text;
        characters += word.characters;
        bytes += word.bytes;
    }
    void add(QLatin1String ascii)
    {
        text += ascii;
        characters += ascii.size();
        bytes += ascii.size();
    }
    void addHashtag(const QString &name)
    {
        text += QLatin1Char('#') + name;
        characters += 1 + name.size();
        bytes += 1 + name.size();
    }
    void add(const Text &other)
    {
        text += other.text;
        characters += other.characters;
        bytes += other.bytes;
    }
    bool isEmpty() const { return text.isEmpty(); }
    void count() { characters = characterCount(text); }
};

// How a note is written: how often a word is one from beyond English, how often a sentence
// ends in an emoji, out of 1.
struct Style
{
    double foreign = 0;
    double emoji = 0;
};

class Generator
{
public:
    Generator(quint32 seed, int tagCount);

    int tagCount() const { return int(m_tags.size()); }
    bool isEmptyDay() { return int(m_random.bounded(100)) < emptyDayPercent; }
    // A time on day, for the tags its note makes.
    QDateTime instantOn(QDate day);
    // 200 to 3,000 characters.
    Text note();
    Text bigNote();

private:
    // The index of a tag in the vocabulary, the first ones the likeliest.
    int zipfTag();
    Style style();
    Text draftNote();
    const Word &pick(const QList<Word> &words) { return words.at(m_random.bounded(words.size())); }
    // A noun, or now and then a word from beyond English.
    const Word &noun(const Style &style);
    // A noun with a determiner and an adjective or neither; the hashtag, when given, takes the
    // noun's place.
    void nounPhrase(Text &text, const Style &style, const QString &hashtag);
    // A subject, a verb and what follows it.
    void clause(Text &text, const Style &style, const QString &hashtag);
    Text sentence(const Style &style, const QString &hashtag);
    Text listLine(const Style &style, QLatin1String marker, const QString &hashtag);
    Text title(const Style &style);
    // Adds paragraphs and lists to text until it holds at least target characters (or bytes),
    // or its next sentence or line would take it past limit characters. nextHashtag() gives
    // each sentence and line its hashtag, or an empty string. Returns the hashtag of a
    // sentence left out for the limit.
    QString fill(Text &text, const Style &style, qsizetype target, bool inBytes, qsizetype limit,
                 const std::function<QString()> &nextHashtag);

    QRandomGenerator m_random;
    QList<Word> m_subjects = wordList(subjectWords);
    QList<Word> m_determiners = wordList(determinerWords);
    Word m_an = wordList("an").first();
    QList<Word> m_adjectives = wordList(adjectiveWords);
    QList<Word> m_nouns = wordList(nounWords);
    QList<Word> m_objectVerbs = wordList(objectVerbWords);
    QList<Word> m_verbs = wordList(verbWords);
    QList<Word> m_prepositions = wordList(prepositionWords);
    QList<Word> m_adverbs = wordList(adverbWords);
    QList<Word> m_joiners = wordList(joinerWords, '|');
    QList<Word> m_todos = wordList(todoWords);
    QList<Word> m_accented = wordList(accentedWords);
    QList<Word> m_otherScript = wordList(otherScriptWords);
    QList<Word> m_emoji = wordList(emojiWords);
    QStringList m_tags;
    // The Zipf weights 1/1, 1/2, 1/3, ... of the tags, summed up to each one.
    std::vector<double> m_cumulative;
};

Generator::Generator(quint32 seed, int tagCount) : m_random(seed)
{
    const QList<Word> common = wordList(tagWords);
    QSet<QString> taken;
    const auto add = [&](const QString &name) {
        if (taken.contains(name))
            return false;
        taken.insert(name);
        m_tags.append(name);
        return true;
    };
    for (const Word &word : common) {
        if (m_tags.size() == tagCount)
            break;
        add(word.text);
    }
    // The rarer tags are made of the common ones and of words of the notes, in the ways
    // people write them: #garden-plan, #reading_list, #tripJapan, #garden2019, #Garden.
    int misses = 0;
    while (m_tags.size() < tagCount) {
        const Word &first = pick(common);
        const Word &second = m_random.bounded(2) ? pick(common) : pick(m_nouns);
        QString name;
        switch (m_random.bounded(10)) {
        case 0:
        case 1:
        case 2:
        case 3:
            name = first.text + QLatin1Char('-') + second.text;
            break;
        case 4:
            name = first.text + QLatin1Char('_') + second.text;
            break;
        case 5:
            name = first.text + second.capitalized;
            break;
        case 6:
            name = first.text + QString::number(1990 + m_random.bounded(50));
            break;
        case 7:
            name = first.capitalized;
            break;
        case 8:
            name =
                first.text + QLatin1Char('-') + second.text + QLatin1Char('-') + pick(m_nouns).text;
            break;
        default:
            name = second.text + QLatin1Char('-') + first.text;
            break;
        }
        // A name already made is drawn anew; should the draws keep failing, a number makes it
        // new.
        if (add(name))
            misses = 0;
        else if (++misses == 50 && add(name + QLatin1Char('-') + QString::number(m_tags.size())))
            misses = 0;
    }
    m_cumulative.reserve(m_tags.size());
    double sum = 0;
    for (qsizetype rank = 1; rank <= m_tags.size(); ++rank) {
        sum += 1.0 / double(rank);
        m_cumulative.push_back(sum);
    }
}

int Generator::zipfTag()
{
    const double at = m_random.generateDouble() * m_cumulative.back();
    const auto found = std::upper_bound(m_cumulative.cbegin(), m_cumulative.cend(), at);
    return int(std::min<qsizetype>(found - m_cumulative.cbegin(), m_tags.size() - 1));
}

QDateTime Generator::instantOn(QDate day)
{
    const QTime time(6 + int(m_random.bounded(17)), int(m_random.bounded(60)),
                     int(m_random.bounded(60)), int(m_random.bounded(1000)));
    return QDateTime(day, time, Qt::UTC);
}

Style Generator::style()
{
    // Most notes hold a foreign word now and then; some were written abroad or while
    // learning a language.
    const int kind = int(m_random.bounded(100));
    Style style;
    style.foreign = kind < 70 ? 0.02 : kind < 92 ? 0.1 : 0.35;
    style.emoji = m_random.bounded(3) == 0 ? 0.12 : 0.01;
    return style;
}

const Word &Generator::noun(const Style &style)
{
    if (m_random.generateDouble() >= style.foreign)
        return pick(m_nouns);
    return m_random.bounded(10) < 3 ? pick(m_accented) : pick(m_otherScript);
}

void Generator::nounPhrase(Text &text, const Style &style, const QString &hashtag)
{
    const Word *determiner = m_random.bounded(100) < 75 ? &pick(m_determiners) : nullptr;
    const Word *adjective = m_random.bounded(100) < 30 ? &pick(m_adjectives) : nullptr;
    const Word *word = hashtag.isEmpty() ? &noun(style) : nullptr;
    if (determiner) {
        const QString &next = adjective ? adjective->text : word ? word->text : hashtag;
        const bool an =
            determiner->text == QLatin1String("a") && QStringView(u"aeiou").contains(next.at(0));
        text.add(QLatin1String(" "));
        text.add(an ? m_an : *determiner);
    }
    if (adjective) {
        text.add(QLatin1String(" "));
        text.add(*adjective);
    }
    text.add(QLatin1String(" "));
    if (word)
        text.add(*word);
    else
        text.addHashtag(hashtag);
}

void Generator::clause(Text &text, const Style &style, const QString &hashtag)
{
    // The hashtag goes in one of the noun phrases, or at the clause's end.
    const int phrases = 1 + int(m_random.bounded(3));
    const int hashtagAt = hashtag.isEmpty() ? -1 : int(m_random.bounded(phrases + 1));
    const auto phraseHashtag = [&](int phrase) {
        return phrase == hashtagAt ? hashtag : QString();
    };
    text.add(QLatin1String(" "));
    text.add(pick(m_subjects));
    int phrase = 0;
    text.add(QLatin1String(" "));
    if (m_random.bounded(100) < 60) {
        text.add(pick(m_objectVerbs));
        nounPhrase(text, style, phraseHashtag(phrase++));
    } else {
        text.add(pick(m_verbs));
    }
    while (phrase < phrases) {
        text.add(QLatin1String(" "));
        text.add(pick(m_prepositions));
        nounPhrase(text, style, phraseHashtag(phrase++));
    }
    if (m_random.bounded(100) < 25) {
        text.add(QLatin1String(" "));
        text.add(pick(m_adverbs));
    }
    if (hashtagAt == phrases) {
        text.add(QLatin1String(" "));
        text.addHashtag(hashtag);
    }
    if (m_random.generateDouble() < style.emoji / 4) {
        text.add(QLatin1String(" "));
        text.add(pick(m_emoji));
    }
}

Text Generator::sentence(const Style &style, const QString &hashtag)
{
    // Every word goes in after a space; the first space comes off at the end.
    Text text;
    if (m_random.bounded(100) < 15) {
        text.add(QLatin1String(" "));
        text.add(pick(m_prepositions));
        nounPhrase(text, style, {});
        text.add(QLatin1String(","));
    }
    const bool twoClauses = m_random.bounded(100) < 35;
    const bool hashtagFirst = m_random.bounded(2) == 0;
    clause(text, style, !twoClauses || hashtagFirst ? hashtag : QString());
    if (twoClauses) {
        text.add(pick(m_joiners));
        clause(text, style, hashtagFirst ? QString() : hashtag);
    }
    const int end = int(m_random.bounded(100));
    text.add(QLatin1String(end < 88 ? "." : end < 94 ? "!" : end < 98 ? "?" : "..."));
    if (m_random.generateDouble() < style.emoji) {
        text.add(QLatin1String(" "));
        text.add(pick(m_emoji));
    }
    text.text.remove(0, 1);
    text.characters -= 1;
    text.bytes -= 1;
    if (text.text.at(0).isLower())
        text.text[0] = text.text.at(0).toUpper();
    return text;
}

Text Generator::listLine(const Style &style, QLatin1String marker, const QString &hashtag)
{
    // A thing to do, or a few words on one thing.
    Text text;
    text.add(marker);
    if (m_random.bounded(2) == 0) {
        text.add(QLatin1String(" "));
        text.add(pick(m_todos));
    }
    nounPhrase(text, style, {});
    if (m_random.bounded(100) < 30) {
        text.add(QLatin1String(" "));
        text.add(pick(m_prepositions));
        nounPhrase(text, style, {});
    }
    if (!hashtag.isEmpty()) {
        text.add(QLatin1String(" "));
        text.addHashtag(hashtag);
    }
    return text;
}

Text Generator::title(const Style &style)
{
    Text text;
    text.add(pick(m_adjectives), true);
    text.add(QLatin1String(" "));
    text.add(noun(style));
    if (m_random.bounded(100) < 25) {
        text.add(QLatin1String(" and "));
        text.add(pick(m_nouns));
    }
    return text;
}

QString Generator::fill(Text &text, const Style &style, qsizetype target, bool inBytes,
                        qsizetype limit, const std::function<QString()> &nextHashtag)
{
    static const QLatin1String markers[] = {QLatin1String("-"), QLatin1String("-"),
                                            QLatin1String("*"), QLatin1String("[ ]"),
                                            QLatin1String("[x]")};
    bool list = false;
    while ((inBytes ? text.bytes : text.characters) < target) {
        // A block starts after a blank line, each of its sentences after a space and each
        // list line on a line of its own. A list follows a paragraph.
        list = !list && !text.isEmpty() && m_random.bounded(100) < 20;
        const int pieces = list ? 2 + int(m_random.bounded(5)) : 1 + int(m_random.bounded(6));
        const QLatin1String marker = markers[m_random.bounded(int(std::size(markers)))];
        Text block;
        for (int i = 0; i < pieces; ++i) {
            const QString hashtag = nextHashtag();
            const Text piece = list ? listLine(style, marker, hashtag) : sentence(style, hashtag);
            const qsizetype separator = i > 0 ? 1 : text.isEmpty() ? 0 : 2;
            if (text.characters + block.characters + separator + piece.characters > limit) {
                if (!block.isEmpty()) {
                    text.add(QLatin1String(text.isEmpty() ? "" : "\n\n"));
                    text.add(block);
                }
                return hashtag;
            }
            if (i > 0)
                block.add(QLatin1String(list ? "\n" : " "));
            block.add(piece);
        }
        text.add(QLatin1String(text.isEmpty() ? "" : "\n\n"));
        text.add(block);
    }
    return {};
}

Text Generator::note()
{
    for (;;) {
        Text text = draftNote();
        text.count();
        if (text.characters >= shortestNote && text.characters <= longestNote)
            return text;
    }
}

Text Generator::draftNote()
{
    // Kept a little inside the bounds, so that a draft rarely misses them.
    const qsizetype shortest = shortestNote + countMargin;
    const qsizetype longest = longestNote - countMargin;
    const double length = m_random.generateDouble();
    const qsizetype target = shortest + qsizetype(double(longest - shortest) * length * length);
    const Style style = this->style();

    // Its hashtags, each once, some in its sentences and the rest on a line at its end.
    int count = 0;
    for (int at = int(m_random.bounded(100)); at >= tagCountWeights[count]; ++count)
        at -= tagCountWeights[count];
    QStringList inSentences;
    QStringList atEnd;
    QSet<int> chosen;
    qsizetype reserved = 2;
    for (int attempt = 0; chosen.size() < count && attempt < 4 * count && !m_tags.isEmpty();
         ++attempt) {
        const int tag = zipfTag();
        if (chosen.contains(tag))
            continue;
        chosen.insert(tag);
        (m_random.bounded(100) < 65 ? inSentences : atEnd).append(m_tags.at(tag));
        reserved += m_tags.at(tag).size() + 2;
    }

    Text text;
    if (m_random.bounded(100) < 70)
        text = title(style);
    // Room is kept for every hashtag on the last line, so the note never passes the limit.
    const QString leftOut = fill(text, style, target, false, longest - reserved, [&]() -> QString {
        if (inSentences.isEmpty() || m_random.bounded(100) >= 30)
            return {};
        return inSentences.takeFirst();
    });
    if (!leftOut.isEmpty())
        atEnd.prepend(leftOut);
    atEnd += inSentences;
    for (qsizetype i = 0; i < atEnd.size(); ++i) {
        text.add(QLatin1String(i > 0 ? " " : "\n\n"));
        text.addHashtag(atEnd.at(i));
    }
    return text;
}

Text Generator::bigNote()
{
    // The hundred commonest tags and the rest drawn at random from the whole vocabulary,
    // placed in a shuffled order; later sentences repeat them in a Zipf spread.
    const int distinct = std::min(bigNoteTags, tagCount());
    QList<int> ranks(tagCount());
    std::iota(ranks.begin(), ranks.end(), 0);
    const int common = std::min(100, distinct);
    for (int i = common; i < distinct; ++i)
        std::swap(ranks[i], ranks[i + int(m_random.bounded(tagCount() - i))]);
    ranks.resize(distinct);
    for (int i = distinct - 1; i > 0; --i)
        std::swap(ranks[i], ranks[int(m_random.bounded(i + 1))]);
    const QSet<int> chosen(ranks.cbegin(), ranks.cend());

    qsizetype placed = 0;
    const Style style{0.05, 0.03};
    Text text = title(style);
    fill(text, style, bigNoteBytes, true, std::numeric_limits<qsizetype>::max(), [&]() -> QString {
        if (ranks.isEmpty() || m_random.bounded(100) >= 30)
            return {};
        if (placed < ranks.size())
            return m_tags.at(ranks.at(placed++));
        for (int attempt = 0; attempt < 8; ++attempt) {
            if (const int tag = zipfTag(); chosen.contains(tag))
                return m_tags.at(tag);
        }
        return m_tags.at(ranks.first());
    });
    for (; placed < ranks.size(); ++placed) {
        text.add(QLatin1String(" "));
        text.addHashtag(m_tags.at(ranks.at(placed)));
    }
    text.count();
    return text;
}

struct Options
{
    QString path;
    qint64 days = 0;
    quint32 seed = defaultSeed;
    int tags = defaultTagCount;
};

const char usage[] = "usage: lq_make_journal [--seed S] [--tags T] PATH DAYS\n"
                     "       lq_make_journal --demo en|de PATH\n";

// The generated journal's options, or nothing when the arguments make no sense.
std::optional<Options> parseOptions(const QStringList &arguments)
{
    Options options;
    QStringList positional;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool seed = argument == QLatin1String("--seed");
        if (seed || argument == QLatin1String("--tags")) {
            if (++i == arguments.size())
                return std::nullopt;
            bool ok = false;
            if (seed)
                options.seed = arguments.at(i).toUInt(&ok);
            else
                options.tags = arguments.at(i).toInt(&ok);
            if (!ok || options.tags < 0 || options.tags > maxTagCount)
                return std::nullopt;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    bool ok = false;
    options.path = positional.at(0);
    options.days = positional.at(1).toLongLong(&ok);
    if (!ok || options.days < 0 || options.days > maxDays)
        return std::nullopt;
    return options;
}

int writeGenerated(JournalDatabase &journal, const Options &options)
{
    // SQLite's full-text index takes and frees large buffers with every note, and glibc hands
    // the top of the heap back to the system each time, a system call and a round of page
    // faults for each: a quarter of the time a hundred years take. Keeping it saves that.
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    Generator generator(options.seed, options.tags);
    const QDate today = QDate::currentDate();
    const qint64 bigDaysAgo = options.days / 2;
    qint64 notes = 0;
    qint64 characters = 0;
    Text big;
    for (qint64 first = options.days - 1; first >= 0; first -= daysPerTransaction) {
        Transaction transaction = journal.transaction();
        for (qint64 ago = first; ago > first - daysPerTransaction && ago >= 0; --ago) {
            if (generator.isEmptyDay() && ago != bigDaysAgo && ago != 0)
                continue;
            const QDate day = today.addDays(-ago);
            Text text = ago == bigDaysAgo ? generator.bigNote() : generator.note();
            const auto note = journal.insertNote(day, text.text);
            const auto synced = note ? syncTags(journal, *note, text.text, generator.instantOn(day))
                                     : Result<TagSyncChanges>(note.failure());
            if (!synced)
                return fail(synced.error());
            ++notes;
            characters += text.characters;
            if (ago == bigDaysAgo)
                big = std::move(text);
        }
        if (const auto committed = transaction.commit(); !committed)
            return fail(committed.error());
    }
    const auto tags = journal.tags();
    if (!tags)
        return fail(tags.error());
    QString summary = QStringLiteral("%1: %2 days, %3 notes, %4 tags, %5 characters")
                          .arg(options.path)
                          .arg(options.days)
                          .arg(notes)
                          .arg(tags->size())
                          .arg(characters);
    if (options.days > 0)
        summary += QStringLiteral("; 1 MB note on %1 (%2 ago): %3 bytes, %4 tags")
                       .arg(today.addDays(-bigDaysAgo).toString(Qt::ISODate))
                       .arg(bigDaysAgo == 1 ? QStringLiteral("1 day")
                                            : QStringLiteral("%1 days").arg(bigDaysAgo))
                       .arg(big.bytes)
                       .arg(extractHashtags(big.text).size());
    std::printf("%s\n", qPrintable(summary));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 2 &&
        (arguments.at(1) == QLatin1String("--help") || arguments.at(1) == QLatin1String("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    const bool demo =
        arguments.size() == 4 && arguments.at(1) == QLatin1String("--demo") &&
        (arguments.at(2) == QLatin1String("en") || arguments.at(2) == QLatin1String("de"));
    const std::optional<Options> options = demo ? std::nullopt : parseOptions(arguments);
    if (!demo && !options) {
        std::fputs(usage, stderr);
        return 2;
    }
    // Days already written would clash with the generated ones half-way through.
    if (!demo && QFileInfo::exists(options->path))
        return fail(QStringLiteral("%1 exists: give the path of a new journal").arg(options->path));
    auto database = JournalDatabase::open(demo ? arguments.at(3) : options->path);
    if (!database) {
        std::fprintf(stderr, "%s\n", qPrintable(database.error()));
        return 1;
    }
    JournalDatabase &journal = **database;
    if (demo)
        return writeDemo(journal, arguments.at(2) == QLatin1String("de"));
    return writeGenerated(journal, *options);
}

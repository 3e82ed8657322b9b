#include "data/DemoHerd.h"

#include "calendar/Clock.h"
#include "calendar/SolarDate.h"
#include "data/FarmSchema.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace farm {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Draws from a Mersenne twister with its own range mapping, so that a seed gives the same herd
// whatever the standard library's distributions do.
class Dice
{
public:
    explicit Dice(quint32 seed) : m_engine(seed) {}

    // A whole number from lo to hi, both included.
    int between(int lo, int hi)
    {
        if (hi <= lo)
            return lo;
        const quint64 span = quint64(qint64(hi) - lo) + 1;
        return int(lo + qint64((quint64(m_engine()) * span) >> 32));
    }
    bool chance(int percent) { return between(0, 99) < percent; }
    // An index drawn with the given weights.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int roll = between(0, total - 1);
        int index = 0;
        for (int w : weights) {
            if (roll < w)
                return index;
            roll -= w;
            ++index;
        }
        return index - 1;
    }

private:
    std::mt19937 m_engine;
};

// Solar date texts counted back from one day.
class DaysBack
{
public:
    explicit DaysBack(const QDate& today)
    {
        const QString text = solar::fromDate(today);
        m_today = solar::dayNumber(text).value_or(0);
        m_texts.push_back(text);
    }
    bool isValid() const { return m_today != 0; }
    const QString& ago(int days)
    {
        while (int(m_texts.size()) <= days)
            m_texts.push_back(solar::fromDayNumber(m_today - qint64(m_texts.size())));
        return m_texts.at(std::max(days, 0));
    }
    QVariant agoOrNull(int days) { return days < 0 ? QVariant() : QVariant(ago(days)); }

private:
    qint64 m_today = 0;
    std::vector<QString> m_texts;
};

// A transaction that rolls back unless committed.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db) : m_db(db), m_open(db.transaction()) {}
    ~Transaction()
    {
        if (m_open)
            m_db.rollback();
    }
    bool isOpen() const { return m_open; }
    bool commit()
    {
        m_open = false;
        return m_db.commit();
    }

private:
    QSqlDatabase m_db;
    bool m_open;
};

bool fail(QString* error, const QSqlQuery& query)
{
    setError(error, query.lastError().text());
    return false;
}

bool bindAndExec(QSqlQuery& query, const QVariantList& values, QString* error)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    return query.exec() || fail(error, query);
}

// Texts of the suite's lists and figures.
const QString& female()
{
    static const QString text = QStringLiteral("ماده");
    return text;
}
const QString& freemartin()
{
    static const QString text = QStringLiteral("فري مارتين ماده");
    return text;
}
const QString& pregnant()
{
    static const QString text = QStringLiteral("آبستن");
    return text;
}
const QString& vetList()
{
    static const QString text = QStringLiteral("دكتر");
    return text;
}
const QString& exitReasonList()
{
    static const QString text = QStringLiteral("علت خروج پروتكل");
    return text;
}

// A cow's status figures; values() gives them in the column order of the insert below.
struct StatusRow
{
    QVariant selcount, disB, disT, disLT, disZ, openDays, cowKind, lastBriding, dateLastBriding,
        talghihStatus, dateTalghih, lastTDate, tNum, dryStartDate, zDate, zSDate, zSittuation, milkDate, milk,
        bCode;

    QVariantList values(const QString& serial) const
    {
        return {
            serial,      selcount,        disB,          disT,        disLT,     disZ, openDays,     cowKind,
            lastBriding, dateLastBriding, talghihStatus, dateTalghih, lastTDate, tNum, dryStartDate, zDate,
            zSDate,      zSittuation,     milkDate,      milk,        bCode};
    }
};

// An insemination history: the last service `lastAgo` days ago; pregnant or not.
void inseminate(StatusRow& s, Dice& dice, DaysBack& days, int lastAgo, int services, bool carrying)
{
    s.tNum = services;
    s.lastTDate = days.ago(lastAgo);
    s.disLT = lastAgo;
    if (carrying) {
        s.lastBriding = pregnant();
        s.talghihStatus = QStringLiteral("مثبت");
        s.dateTalghih = days.ago(lastAgo);
        // The check that found the pregnancy, a month or so after the service.
        s.dateLastBriding = days.ago(std::max(0, lastAgo - dice.between(30, 35)));
    } else if (lastAgo < 35) {
        s.lastBriding = QStringLiteral("تلقيح شده");
        s.talghihStatus = QStringLiteral("نامعلوم");
        s.dateLastBriding = days.ago(lastAgo);
    } else {
        s.lastBriding = QStringLiteral("باز");
        s.talghihStatus = QStringLiteral("منفي");
        s.dateLastBriding = days.ago(lastAgo - 32);
    }
}

StatusRow cowStatus(Dice& dice, DaysBack& days, int parity, int age)
{
    StatusRow s;
    s.disB = age;
    s.selcount = dice.chance(12) ? dice.between(400, 1500) : dice.between(40, 350);
    const int inMilk = dice.between(0, 420);
    s.disZ = inMilk;
    s.zDate = days.ago(inMilk);
    static const QString manners[] = {QStringLiteral("طبيعي"), QStringLiteral("سخت زا"),
                                      QStringLiteral("دوقلو"), QStringLiteral("سزارين")};
    s.zSittuation = manners[dice.weighted({80, 10, 5, 5})];
    if (dice.chance(3))
        s.zSDate = days.ago(inMilk + dice.between(60, 250));
    s.openDays = inMilk;
    s.tNum = 0;
    bool dry = false;
    if (inMilk < 45) {
        s.lastBriding = QStringLiteral("تازه زا");
        s.dateLastBriding = days.ago(inMilk);
    } else if (!dice.chance(85)) {
        s.lastBriding = QStringLiteral("باز");
        s.dateLastBriding = days.ago(inMilk);
    } else {
        // A cow carries about 280 days: a longer-ago service that held would have calved.
        const int lastAgo = dice.between(0, std::min(inMilk - 45, 280));
        const int services = 1 + dice.between(0, std::min(5, (inMilk - 45 - lastAgo) / 21));
        const bool carrying = lastAgo >= 35 && dice.chance(65);
        inseminate(s, dice, days, lastAgo, services, carrying);
        s.disT = inMilk - lastAgo;
        if (carrying) {
            s.openDays = inMilk - lastAgo;
            if (lastAgo > 225) {
                dry = true;
                s.dryStartDate = days.ago(std::max(0, lastAgo - 220 - dice.between(0, 5)));
            }
        }
    }
    s.cowKind = dry ? QStringLiteral("خشك") : QStringLiteral("دوشا");
    int pen = dry ? 6 : (inMilk < 45 ? 1 : 5);
    if (!dry) {
        // Monthly recording; the yield follows a lactation curve that peaks at two months.
        const int recordAgo = dice.between(0, 29);
        if (recordAgo <= inMilk) {
            const int day = inMilk - recordAgo;
            const double peak = 30 + 4 * std::min(parity, 3) + dice.between(-4, 4);
            const double shape =
                day < 60 ? 0.75 + 0.25 * day / 60.0 : std::max(0.35, 1.0 - (day - 60) / 500.0);
            const double yield = std::round((peak * shape + dice.between(-20, 20) / 10.0) * 10) / 10;
            s.milkDate = days.ago(recordAgo);
            s.milk = yield;
            if (inMilk >= 45)
                pen = yield >= 35 ? 2 : yield >= 28 ? 3 : yield >= 20 ? 4 : 5;
        }
    }
    s.bCode = pen;
    return s;
}

StatusRow youngStockStatus(Dice& dice, DaysBack& days, int age, bool canBreed)
{
    StatusRow s;
    s.disB = age;
    s.cowKind = age < 180 ? QStringLiteral("گوساله") : QStringLiteral("تليسه");
    s.bCode = age < 180 ? 9 : 8;
    if (canBreed && age >= 420 && dice.chance(70)) {
        const int lastAgo = dice.between(0, std::min(age - 400, 250));
        const bool carrying = lastAgo >= 35 && dice.chance(70);
        inseminate(s, dice, days, lastAgo, 1 + dice.between(0, 2), carrying);
        if (carrying)
            s.bCode = 7;
    }
    return s;
}

StatusRow maleStatus(int age)
{
    StatusRow s;
    s.disB = age;
    s.cowKind = age < 180 ? QStringLiteral("گوساله نر") : QStringLiteral("گاو نر");
    s.bCode = 10;
    return s;
}

bool writeLists(QSqlDatabase db, QString* error)
{
    // Invented names; the last veterinarian has left the farm and is no longer offered.
    const QStringList vets = {QStringLiteral("دكتر مرادي"),  QStringLiteral("دكتر كريمي"),
                              QStringLiteral("دكتر صالحي"),  QStringLiteral("دكتر نوروزي"),
                              QStringLiteral("دكتر فرهادي"), QStringLiteral("دكتر قاسمي")};
    // The first reason closes a protocol that ran to its end.
    const QStringList reasons = {QStringLiteral("پايان دوره درمان"),
                                 QStringLiteral("آبستن شد"),
                                 QStringLiteral("عدم پاسخ به درمان"),
                                 QStringLiteral("فروش دام"),
                                 QStringLiteral("تلف شد"),
                                 QStringLiteral("انتقال به پروتكل ديگر")};
    QSqlQuery comment(db);
    if (!comment.prepare(
            QStringLiteral("INSERT INTO FrComments (GroupSec, IsActive, Comment) VALUES (?, ?, ?)")))
        return fail(error, comment);
    for (qsizetype i = 0; i < vets.size(); ++i)
        if (!bindAndExec(comment, {vetList(), i + 1 < vets.size() ? 1 : 0, vets.at(i)}, error))
            return false;
    for (const QString& reason : reasons)
        if (!bindAndExec(comment, {exitReasonList(), 1, reason}, error))
            return false;

    // The suite records its comment groups in Info; both lists are known to it already.
    QSqlQuery info(db);
    if (!info.prepare(QStringLiteral(
            "INSERT INTO Info (GroupSec, KeyName, KeyValue, Discription) VALUES (?, ?, ?, ?)")))
        return fail(error, info);
    const QVariant none;
    return bindAndExec(
               info,
               {QStringLiteral("DEFAULT"), QStringLiteral("NextGroupNumber"), QStringLiteral("22"), none},
               error) &&
           bindAndExec(info, {QStringLiteral("FrGroups"), QStringLiteral("Group21"), vetList(), none},
                       error) &&
           bindAndExec(info, {QStringLiteral("FrGroups"), QStringLiteral("Group22"), exitReasonList(), none},
                       error);
}

} // namespace

bool generateHerd(QSqlDatabase db, const HerdOptions& options, QString* error)
{
    DaysBack days(options.today.isValid() ? options.today : appclock::today());
    if (!days.isValid()) {
        setError(error, QStringLiteral("no solar date for the herd's day"));
        return false;
    }
    Dice dice(options.seed);
    const int count = std::max(options.cows, 0);

    // Body numbers: mostly unused ones; a few are given again, and the earlier holder of a
    // number given again has left the herd.
    std::vector<int> bodies(count);
    std::vector<int> repeats(count);
    QHash<int, int> uses;
    QHash<int, int> lastHolder;
    for (int i = 0; i < count; ++i) {
        int body = -1;
        if (i >= 20 && dice.chance(3)) {
            body = bodies[dice.between(0, i - 1)];
        } else {
            for (int attempt = 0; attempt < 40 && body < 0; ++attempt) {
                const int candidate = dice.between(1, 99999);
                if (!uses.contains(candidate))
                    body = candidate;
            }
            if (body < 0)
                body = bodies[dice.between(0, i - 1)];
        }
        bodies[i] = body;
        repeats[i] = uses[body]++;
        lastHolder[body] = i;
    }

    Transaction transaction(db);
    if (!transaction.isOpen()) {
        setError(error, db.lastError().text());
        return false;
    }
    QSqlQuery cow(db);
    if (!cow.prepare(
            QStringLiteral("INSERT INTO Main (Serial, Body, BodyRepeate, Existcode, Sex, MilkPeriod, "
                           "BirthDate) VALUES (?, ?, ?, ?, ?, ?, ?)")))
        return fail(error, cow);
    QSqlQuery status(db);
    if (!status.prepare(QStringLiteral(
            "INSERT INTO CowStatus (Serial, Selcount, DisB, DisT, DisLT, DisZ, OpenDays, CowKind, "
            "LastBriding, DateLastBriding, TalghihStatus, DateTalghih, LastTDate, TNum, DryStartDate, "
            "ZDate, ZSDate, ZSittuation, MilkAmountSumDate, MilkAmountSum, BCode) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return fail(error, status);

    const QString male = QStringLiteral("نر");
    for (int i = 0; i < count; ++i) {
        const QString serial = QString::number(100001 + i);
        int existcode = dice.weighted({62, 30, 5, 3});
        if (lastHolder.value(bodies[i]) != i)
            existcode = 2 + dice.between(0, 1);
        const int sexRoll = dice.weighted({90, 7, 3});
        const QString& sex = sexRoll == 0 ? female() : sexRoll == 1 ? male : freemartin();
        const int parity = sexRoll == 0 ? dice.weighted({35, 22, 17, 12, 7, 4, 2, 1}) : 0;

        int age = 0;
        StatusRow row;
        if (sexRoll == 1) {
            age = dice.between(5, 700);
            row = maleStatus(age);
        } else if (parity == 0) {
            age = dice.between(20, sexRoll == 0 ? 820 : 900);
            row = youngStockStatus(dice, days, age, sexRoll == 0);
        } else {
            age = 680 + 380 * parity + dice.between(0, 300);
            row = cowStatus(dice, days, parity, age);
        }
        const QString body = QStringLiteral("%1").arg(bodies[i], 5, 10, QLatin1Char('0'));
        if (!bindAndExec(cow, {serial, body, repeats[i], existcode, sex, parity, days.ago(age)}, error) ||
            !bindAndExec(status, row.values(serial), error))
            return false;
    }
    cow.finish();
    status.finish();
    if (!writeLists(db, error))
        return false;
    if (!transaction.commit()) {
        setError(error, db.lastError().text());
        return false;
    }
    return true;
}

namespace {

struct Level
{
    int level = 0;
    int days = 0;
    QString action;
};

// Each protocol's levels from its first, following level + 1 as the tool does; a level after a
// gap in the numbers is never reached.
bool readProtocols(QSqlDatabase db, QList<QList<Level>>* protocols, QStringList* names, QString* error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT ProName, PLevel, PDays, PAct FROM P_ProtocolDesign "
                                   "ORDER BY ProName, PLevel")))
        return fail(error, query);
    QString name;
    QList<Level> levels;
    auto flush = [&] {
        if (!levels.isEmpty()) {
            protocols->append(levels);
            names->append(name);
        }
        levels.clear();
    };
    while (query.next()) {
        const QString rowName = query.value(0).toString();
        const Level level{query.value(1).toInt(), query.value(2).toInt(), query.value(3).toString()};
        if (rowName != name || levels.isEmpty()) {
            flush();
            name = rowName;
            levels.append(level);
        } else if (level.level == levels.last().level + 1) {
            levels.append(level);
        }
    }
    flush();
    return true;
}

bool readTexts(QSqlQuery& query, const QString& statement, const QVariantList& values, QStringList* texts,
               QString* error)
{
    if (!query.prepare(statement))
        return fail(error, query);
    if (!bindAndExec(query, values, error))
        return false;
    while (query.next())
        texts->append(query.value(0).toString());
    query.finish();
    return true;
}

} // namespace

bool generateEnrolments(QSqlDatabase db, int count, quint32 seed, QString* error)
{
    DaysBack days(appclock::today());
    if (!days.isValid()) {
        setError(error, QStringLiteral("no solar date for today"));
        return false;
    }
    QList<QList<Level>> protocols;
    QStringList names;
    if (!readProtocols(db, &protocols, &names, error))
        return false;
    if (protocols.isEmpty()) {
        setError(error, QStringLiteral("P_ProtocolDesign holds no protocol"));
        return false;
    }

    QSqlQuery query(db);
    QStringList females;
    QStringList present;
    QStringList vets;
    QStringList reasons;
    const QString commentList =
        QStringLiteral("SELECT Comment FROM FrComments WHERE GroupSec = ? AND IsActive = 1 "
                       "ORDER BY rowid");
    const QString femaleLike = u'%' + female() + u'%';
    if (!readTexts(query, QStringLiteral("SELECT Serial FROM Main WHERE Sex LIKE ? ORDER BY Serial"),
                   {femaleLike}, &females, error) ||
        !readTexts(
            query,
            QStringLiteral("SELECT Serial FROM Main WHERE Sex LIKE ? AND Existcode < 2 AND Serial NOT IN "
                           "(SELECT Serial FROM P_Work WHERE POutDate IS NULL OR trim(POutDate) = '') "
                           "ORDER BY Serial"),
            {femaleLike}, &present, error) ||
        !readTexts(query, commentList, {vetList()}, &vets, error) ||
        !readTexts(query, commentList, {exitReasonList()}, &reasons, error))
        return false;
    if (females.isEmpty()) {
        setError(error, QStringLiteral("the herd has no female cow"));
        return false;
    }
    // Entries store empty texts, not NULL, where they have nothing to say.
    const QString empty = QStringLiteral("");
    if (vets.isEmpty())
        vets.append(empty);
    if (reasons.isEmpty())
        reasons.append(empty);

    Dice dice(seed);
    // Open enrolments: half of a small demonstration set, a sixth or so of a large history.
    count = std::max(count, 0);
    const int wanted = count <= 400 ? count / 2 : std::max(200, count * 15 / 100);
    const int open = std::min<int>(wanted, int(present.size()));
    for (int i = 0; i < open; ++i)
        present.swapItemsAt(i, dice.between(i, int(present.size()) - 1));

    Transaction transaction(db);
    if (!transaction.isOpen()) {
        setError(error, db.lastError().text());
        return false;
    }
    QSqlQuery insert(db);
    if (!insert.prepare(
            QStringLiteral("INSERT INTO P_Work (ProName, Serial, PCurLevel, PInDate, PDoc, StartCurActDate, "
                           "PLastAct, PNextAct, "
                           "NextLvlDays, POutDate, POutResone) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return fail(error, insert);

    const QString blanks = QStringLiteral("   ");
    for (int i = 0; i < count; ++i) {
        const bool isOpen = i < open;
        const int p = dice.between(0, int(protocols.size()) - 1);
        const QList<Level>& levels = protocols.at(p);
        const int last = int(levels.size()) - 1;
        const bool completed = !isOpen && dice.chance(70);
        int at = last;
        if (isOpen && last > 0 && !dice.chance(10))
            at = dice.between(0, last - 1);
        else if (!isOpen && !completed)
            at = dice.between(0, last);
        const Level& current = levels.at(at);
        const Level* next = at < last ? &levels.at(at + 1) : nullptr;
        const int intoProtocol = current.days - levels.first().days;
        // Most cows start at the first level; a few were entered straight at a later one.
        const bool enteredHere = at == 0 || dice.chance(10);

        int levelAgo = 0;
        QVariant outDate;
        QString reason = empty;
        if (isOpen) {
            levelAgo = dice.chance(10) ? dice.between(4, 12) : dice.between(0, 3);
            const int form = dice.weighted({80, 15, 5});
            outDate = form == 0 ? QVariant(empty) : form == 1 ? QVariant() : QVariant(blanks);
        } else {
            const int outAgo = dice.between(0, 900);
            levelAgo = outAgo + dice.between(0, 3);
            outDate = days.ago(outAgo);
            reason = completed ? reasons.first() : reasons.at(dice.between(0, int(reasons.size()) - 1));
        }
        const int inAgo = enteredHere ? levelAgo : levelAgo + intoProtocol;
        // The entry stores the day of the level entered at; an advance the day of the level after.
        QString nextDays = empty;
        if (enteredHere)
            nextDays = QString::number(current.days);
        else if (next)
            nextDays = QString::number(next->days);
        const QString& serial = isOpen ? present.at(i) : females.at(dice.between(0, int(females.size()) - 1));
        const QVariantList row = {names.at(p),
                                  serial,
                                  current.level,
                                  days.ago(inAgo),
                                  vets.at(dice.between(0, int(vets.size()) - 1)),
                                  days.ago(levelAgo),
                                  current.action,
                                  next ? next->action : empty,
                                  nextDays,
                                  outDate,
                                  reason};
        if (!bindAndExec(insert, row, error))
            return false;
    }
    insert.finish();
    if (!transaction.commit()) {
        setError(error, db.lastError().text());
        return false;
    }
    return true;
}

bool createFarmFile(const QString& path, const HerdOptions& options, QString* error)
{
    QFile::remove(path);
    const QString name = QStringLiteral("farm-file");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        if (!ok && error)
            *error = QStringLiteral("cannot create ") + path;
        ok = ok && createSuiteObjects(db, error) && generateHerd(db, options, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace farm

// Other programs writing the database through table objects: one killed at random moments in the middle of its posts,
// two at once (on a file and on the test server), one while backups of a file are taken. No acknowledged post is lost
// and the database stays sound.
#include "Backup.h"
#include "Connection.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QThread>
#include <QtTest>
#include <map>

using namespace Qt::StringLiterals;
using namespace kbtest;
using Posts = std::map<qint64, QString>; // acknowledged IDs and their names

namespace {

// The writer program posting positions named TAG-1, TAG-2, ...; its n-th line tells about TAG-n.
struct Writer {
    QProcess process;
    QString tag;
    int told = 0;
    Writer(const QString& file, const QString& name, int busyMs, int count = 1000000, int pauseMs = 0) : tag(name) {
        process.start(QStringLiteral(KB_TEST_WRITER_PATH), {u"post"_s, file, QString::number(count), tag,
                                                            QString::number(busyMs), QString::number(pauseMs)});
    }
    // Reads the lines written so far, at least `least` in all: acknowledged posts go into posts; returns the others.
    QStringList read(Posts& posts, int least = 0) {
        QStringList others;
        while (told < least || process.canReadLine()) {
            if (!process.canReadLine() && !process.waitForReadyRead(30000))
                return others << u"no line from the writer"_s;
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(u"ok "_s))
                posts[line.mid(3).toLongLong()] = tag + u'-' + QString::number(told + 1);
            else
                others << line;
            ++told;
        }
        return others;
    }
};

// What is wrong with the file: its integrity, an acknowledged post missing, fewer or (exact) other rows than posts.
QString problems(const QString& file, const Posts& posts, bool exact) {
    kb::sql::Connection connection(file);
    const auto first = [&](const char* sql, const kb::sql::Value& id = {}) {
        kb::sql::Statement st = connection.prepareNative(QString::fromUtf8(sql));
        if (!id.isNull())
            st.bind(1, id);
        return st.step() ? st.column(0) : kb::sql::Value();
    };
    if (const QString check = errorMessage([&] { connection.checkIntegrity(); }); !check.isNull())
        return u"integrity check: "_s + check;
    for (const auto& [id, name] : posts) {
        if (first("SELECT Nazvanie FROM Dolznost WHERE ID = ?", kb::sql::Value(id)).text() != name)
            return u"acknowledged post %1 (%2) is not in the file"_s.arg(id).arg(name);
    }
    const qint64 rows = first("SELECT count(*) FROM Dolznost").toInt();
    const bool wrong = rows < qint64(posts.size()) || (exact && rows != qint64(posts.size()));
    return wrong ? u"%1 rows for %2 posts"_s.arg(rows).arg(posts.size()) : QString();
}

void engines() {
    QTest::addColumn<Engine>("engine");
    for (Engine e : kEngines)
        newEngineRow(e, "writers");
}

} // namespace

class TestWriters : public QObject {
    Q_OBJECT
private slots:
    // 30 rounds: a writer posts until it is killed (SIGKILL) at a random moment after its first acknowledged post;
    // then the file is sound and holds every post acknowledged so far (perhaps one more, written but not told).
    void killedWriter_data() { engines(); }
    void killedWriter() {
        TempDatabase db(std::get<0>(fetch<Engine>("engine")));
        db.closeConnection();
        QRandomGenerator random(20130401);
        Posts posts;
        for (int round = 1; round <= 30; ++round) {
            Writer writer(db.path(), u"r%1"_s.arg(round), 5000);
            QCOMPARE(writer.read(posts, 1), QStringList());
            QThread::usleep(random.bounded(150000u));
            writer.process.kill();
            QVERIFY(writer.process.waitForFinished(30000));
            QCOMPARE(writer.read(posts), QStringList());
            QCOMPARE(problems(db.path(), posts, false), QString());
        }
    }

    // Two writers post at once with a short busy timeout: each post is acknowledged or fails with the busy message;
    // the file holds exactly the acknowledged rows.
    void twoWriters_data() { engines(); }
    void twoWriters() {
        TempDatabase db(std::get<0>(fetch<Engine>("engine")));
        const QString shown = db.connection().displayName();
        db.closeConnection();
        Writer first(db.path(), u"A"_s, 1, 100), second(db.path(), u"B"_s, 1, 100);
        Posts posts;
        QStringList busy;
        for (Writer* w : {&first, &second}) {
            QVERIFY(w->process.waitForFinished(120000));
            busy << w->read(posts);
            QCOMPARE(w->told, 100);
        }
        for (const QString& line : busy)
            QVERIFY2(line.startsWith(u"busy "_s) && line.contains(shown) &&
                         line.contains(u"занята другим пользователем или программой"_s),
                     qPrintable(line));
        QCOMPARE(problems(db.path(), posts, true), QString());
    }

    // Backups taken while another process posts (pausing a little between posts, as a user does: a writer that never
    // pauses keeps every reader out): each copy is sound and holds every post acknowledged before it began.
    void backupWhileWriting() {
        TempDatabase db;
        db.closeConnection();
        Writer writer(db.path(), u"w"_s, 5000, 1000000, 5);
        Posts posts;
        for (int round = 1; round <= 5; ++round) {
            QCOMPARE(writer.read(posts, 5 * round), QStringList());
            const QString copy = db.filePath(u"copy%1.mdb"_s.arg(round));
            QCOMPARE(errorMessage([&] { kb::tools::backupDatabase(db.path(), copy); }), QString());
            QCOMPARE(problems(copy, posts, false), QString());
        }
        writer.process.kill();
        QVERIFY(writer.process.waitForFinished(30000));
    }
};

QTEST_GUILESS_MAIN(TestWriters)
#include "tst_writers.moc"

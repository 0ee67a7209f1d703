// Other programs writing the database file through table objects: one killed at random moments in the middle of its
// posts, two at once, one while backups are taken. No acknowledged post is lost and the file stays sound.
#include "Backup.h"
#include "Connection.h"
#include "TestSupport.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>
#include <map>

using namespace kbtest;

namespace {

// Starts the writer program posting positions named TAG-1, TAG-2, ...
void startWriter(QProcess& writer, const QString& file, int count, const QString& tag, int busyMs, int pauseMs = 0) {
    writer.start(QStringLiteral(KB_TEST_WRITER_PATH), {QStringLiteral("post"), file, QString::number(count), tag,
                                                       QString::number(busyMs), QString::number(pauseMs)});
}

// The lines a writer wrote; the n-th one tells about its post of TAG-n.
QStringList lines(QProcess& writer) {
    return QString::fromUtf8(writer.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// What is wrong with the file: its integrity, an acknowledged ID missing or not holding its name; empty when nothing.
// rows: the rows the file holds.
QString problems(const QString& file, const std::map<qint64, QString>& acknowledged, qint64& rows) {
    kb::Connection connection(file);
    kb::Statement check = connection.prepareNative(QStringLiteral("PRAGMA integrity_check"));
    if (!check.step() || check.column(0).text() != QLatin1String("ok"))
        return QStringLiteral("integrity check: ") + check.column(0).text();
    kb::Statement name = connection.prepareNative(QStringLiteral("SELECT Nazvanie FROM Dolznost WHERE ID = ?"));
    for (const auto& [id, expected] : acknowledged) {
        name.reset();
        name.bind(1, kb::Value(id));
        if (!name.step() || name.column(0).text() != expected)
            return QStringLiteral("acknowledged post %1 (%2) is not in the file").arg(id).arg(expected);
    }
    kb::Statement count = connection.prepareNative(QStringLiteral("SELECT count(*) FROM Dolznost"));
    count.step();
    rows = count.column(0).toInt();
    return {};
}

} // namespace

class TestWriters : public QObject {
    Q_OBJECT
private slots:
    // 30 rounds: a writer posts until it is killed (SIGKILL) at a random moment after its first acknowledged post.
    // After each round the file is sound and holds every post acknowledged so far.
    void killedWriter() {
        TempDatabase db;
        db.closeConnection();
        QRandomGenerator random(20130401);
        std::map<qint64, QString> acknowledged;
        constexpr int kRounds = 30;
        for (int round = 1; round <= kRounds; ++round) {
            const QString tag = QStringLiteral("r%1").arg(round);
            QProcess writer;
            startWriter(writer, db.path(), 1000000, tag, 5000);
            while (!writer.canReadLine())
                QVERIFY2(writer.waitForReadyRead(30000), "the writer acknowledged no post");
            QThread::usleep(random.bounded(150000u));
            writer.kill();
            QVERIFY(writer.waitForFinished(30000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
            const QStringList said = lines(writer);
            for (int n = 0; n < said.size(); ++n) {
                QVERIFY2(said[n].startsWith(QLatin1String("ok ")), qPrintable(said[n]));
                acknowledged[said[n].mid(3).toLongLong()] = QStringLiteral("%1-%2").arg(tag).arg(n + 1);
            }
            qint64 rows = 0;
            const QString wrong = problems(db.path(), acknowledged, rows);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
            QVERIFY(rows >= qint64(acknowledged.size())); // a post may be written and killed before it is told
        }
        qInfo("%d rounds killed, %zu acknowledged posts all found", kRounds, acknowledged.size());
    }

    // Two writers post at once with a short busy timeout: each post is acknowledged or fails with the busy message;
    // the file holds exactly the acknowledged rows.
    void twoWriters() {
        TempDatabase db;
        db.closeConnection();
        constexpr int kPosts = 100;
        QProcess writers[2];
        const QString tags[2] = {QStringLiteral("A"), QStringLiteral("B")};
        for (int w = 0; w < 2; ++w)
            startWriter(writers[w], db.path(), kPosts, tags[w], 1);
        std::map<qint64, QString> acknowledged;
        int busy = 0;
        for (int w = 0; w < 2; ++w) {
            QVERIFY(writers[w].waitForFinished(120000));
            const QStringList said = lines(writers[w]);
            QVERIFY2(writers[w].exitCode() == 0, qPrintable(said.join(QLatin1Char('\n'))));
            QCOMPARE(said.size(), kPosts);
            for (int n = 0; n < kPosts; ++n) {
                if (said[n].startsWith(QLatin1String("ok "))) {
                    acknowledged[said[n].mid(3).toLongLong()] = QStringLiteral("%1-%2").arg(tags[w]).arg(n + 1);
                    continue;
                }
                ++busy;
                QVERIFY2(said[n].startsWith(QLatin1String("busy ")) && said[n].contains(db.path()) &&
                             said[n].contains(QStringLiteral("занята другим пользователем или программой")),
                         qPrintable(said[n]));
            }
        }
        qint64 rows = 0;
        const QString wrong = problems(db.path(), acknowledged, rows);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QCOMPARE(rows, qint64(acknowledged.size()));
        qInfo("%d posts tried by two writers: %zu written, %d refused as busy", 2 * kPosts, acknowledged.size(), busy);
    }

    // Backups taken while another process posts (pausing a little between posts, as a user does: a writer that never
    // pauses keeps every reader out): each copy is sound and holds every post acknowledged before it began.
    void backupWhileWriting() {
        TempDatabase db;
        db.closeConnection();
        QProcess writer;
        startWriter(writer, db.path(), 1000000, QStringLiteral("w"), 5000, 5);
        std::map<qint64, QString> acknowledged;
        int told = 0;
        for (int round = 1; round <= 5; ++round) {
            while (told < 5 * round) { // five more posts acknowledged
                while (!writer.canReadLine())
                    QVERIFY2(writer.waitForReadyRead(30000), "the writer acknowledged no post");
                const QString line = QString::fromUtf8(writer.readLine()).trimmed();
                QVERIFY2(line.startsWith(QLatin1String("ok ")), qPrintable(line));
                acknowledged[line.mid(3).toLongLong()] = QStringLiteral("w-%1").arg(++told);
            }
            const QString copy = db.filePath(QStringLiteral("copy%1.mdb").arg(round));
            const QString failed = errorMessage([&] { kb::tools::backupDatabase(db.path(), copy); });
            QVERIFY2(failed.isNull(), qPrintable(failed));
            qint64 rows = 0;
            const QString wrong = problems(copy, acknowledged, rows);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        }
        writer.kill();
        QVERIFY(writer.waitForFinished(30000));
        qInfo("5 backups while writing, the last holding the %d posts acknowledged before it", told);
    }
};

QTEST_GUILESS_MAIN(TestWriters)
#include "tst_writers.moc"

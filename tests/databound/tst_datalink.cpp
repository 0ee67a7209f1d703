// The data link's lifetime: whichever of source, data set and link goes first, the client hears only of what it
// follows, and its pending writer is registered only with the table object it follows.

#include "DataLink.h"
#include "Schema.h"
#include "TestRows.h"
#include "TestSupport.h"

using namespace Qt::StringLiterals;

namespace {

struct Recorder : kb::dataset::DataLink::Client, kb::dataset::Table::PendingWriter {
    QStringList heard;
    void dataSetReplaced() override { heard << u"replaced"_s; }
    void dataSetReset() override { heard << u"reset"_s; }
    void writePending() override { heard << u"write"_s; }
};

} // namespace

class TestDataLink : public QObject {
    Q_OBJECT
private slots:
    void lifetime_data() {
        kbtest::columns<QString, QString>("step", "heard");
        kbtest::row("source destroyed", u"source"_s, u"replaced"_s);
        kbtest::row("data set destroyed", u"dataSet"_s, u"replaced"_s);
        kbtest::row("source rebound", u"rebind"_s, u"replaced reset write"_s);
        kbtest::row("link destroyed first", u"link"_s, QString());
    }
    void lifetime() {
        const auto [step, heard] = kbtest::fetch<QString, QString>("step", "heard");
        kbtest::TempDatabase db;
        const kb::dataset::schema::TableDef& def = kb::dataset::schema::table(u"Dolznost"_s);
        auto first = std::make_unique<kb::dataset::Table>(db.connection(), def);
        kb::dataset::Table second(db.connection(), def);
        auto source = std::make_unique<kb::dataset::DataSource>(first.get());
        Recorder client;
        auto link = std::make_unique<kb::dataset::DataLink>(client, kb::dataset::DataLink::Follow::CurrentRow, &client);
        link->setDataSource(source.get());
        QCOMPARE(link->table(), first.get());
        client.heard.clear();
        if (step == u"source")
            source.reset();
        else if (step == u"dataSet")
            first.reset();
        else if (step == u"rebind")
            source->setDataSet(&second);
        else
            link.reset();
        // Then each table left opens and posts a row: only the one followed reaches the client.
        for (kb::dataset::Table* table : {first.get(), &second}) {
            if (!table)
                continue;
            table->open();
            table->append();
            table->post();
        }
        QCOMPARE(client.heard.join(u' '), heard);
        if (link)
            QCOMPARE(link->dataSet(), step == u"rebind" ? &second : nullptr);
    }
};

QTEST_GUILESS_MAIN(TestDataLink)
#include "tst_datalink.moc"

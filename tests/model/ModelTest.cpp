// The generic parameter store: notification order, registration during
// and after notification, entries leaving with their connections.
#include <QtTest>

#include <memory>
#include <utility>

#include "Model.h"
#include "ModelAssistant.h"
#include "ModelConnection.h"

namespace {

QStringList* journal = nullptr;

class RecordingConnection : public ModelConnection {
public:
    RecordingConnection(const QString& name, unsigned int id) : m_name(name) { setParameterId(id); }
    void updateParameter(unsigned int id) override
    {
        journal->append(QString("%1:%2").arg(m_name).arg(id));
        ModelConnection::updateParameter(id);
    }
    void modelChanged() override { modelChanges++; }
    int modelChanges = 0;

private:
    QString m_name;
};

class RecordingAssistant : public ModelAssistant {
public:
    explicit RecordingAssistant(const QString& name) : m_name(name) {}
    void updateParameter(unsigned int id) override
    {
        journal->append(QString("%1:%2").arg(m_name).arg(id));
        if (onUpdate) {
            onUpdate();
        }
    }
    std::function<void()> onUpdate;

private:
    QString m_name;
};

}  // namespace

class ModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_journal.clear();
        journal = &m_journal;
        m_model = std::make_unique<Model>();
        m_model->createIntParameter(10, 0, 1, 0, "Switch", nullptr, nullptr);
        m_model->createIntParameter(11, -5, 4, 2, "Shift", nullptr, nullptr);
        m_model->createStringParameter(20, "default", "Directory");
    }

    void connectionsHearFirstThenAssistantsInRegistrationOrder()
    {
        RecordingAssistant assistantA("A");
        RecordingAssistant assistantB("B");
        m_model->registerModelAssistant(&assistantA);
        RecordingConnection first("c1", 10);
        RecordingConnection second("c2", 10);
        RecordingConnection other("o", 11);
        QCOMPARE(first.connectModel(m_model.get()), MODEL_RESULT_SUCCESS);
        m_model->registerModelAssistant(&assistantB);
        second.connectModel(m_model.get());
        other.connectModel(m_model.get());
        // Each registration tells the new connection (and its fellows) at once.
        QCOMPARE(m_journal, QStringList({"c1:10", "A:10", "c1:10", "c2:10", "A:10", "B:10",
                                         "o:11", "A:11", "B:11"}));
        m_journal.clear();
        m_model->setModelIntValue(10, 1);
        QCOMPARE(m_journal, QStringList({"c1:10", "c2:10", "A:10", "B:10"}));
        m_journal.clear();
        m_model->setModelIntValue(10, 1);
        m_model->setModelStringValue(20, "default");
        QVERIFY(m_journal.isEmpty());
        m_model->setModelStringValue(20, "changed");
        QCOMPARE(m_journal, QStringList({"A:20", "B:20"}));
        m_model->unregisterModelAssistant(&assistantA);
        m_model->unregisterModelAssistant(&assistantB);
    }

    void connectionLifecycleAndResults()
    {
        RecordingConnection connection("c", 10);
        QCOMPARE(connection.setCurrentValue(1), MODEL_RESULT_ERROR);  // not connected yet
        const int changesBefore = connection.modelChanges;
        QCOMPARE(connection.connectModel(m_model.get()), MODEL_RESULT_SUCCESS);
        QCOMPARE(connection.modelChanges, changesBefore + 1);
        QCOMPARE(m_journal, QStringList({"c:10"}));  // told before connectModel returned
        QCOMPARE(connection.setCurrentValue(1), MODEL_RESULT_SUCCESS);
        QCOMPARE(m_model->getModelIntValue(10, nullptr), 1);
        QCOMPARE(connection.disconnectModel(), MODEL_RESULT_SUCCESS);
        QCOMPARE(connection.modelChanges, changesBefore + 2);
        m_journal.clear();
        m_model->setModelIntValue(10, 0);
        QVERIFY(m_journal.isEmpty());
    }

    // Entries leave with their connections, whether disconnected, registered
    // twice or moved to another id, and the others keep their order.
    void entriesLeaveWithTheirConnections()
    {
        RecordingConnection c1("c1", 10), c2("c2", 10), c3("c3", 10);
        c1.connectModel(m_model.get());
        c2.connectModel(m_model.get());
        c3.connectModel(m_model.get());
        QCOMPARE(c2.disconnectModel(), MODEL_RESULT_SUCCESS);
        {
            RecordingConnection twice("t", 10);
            twice.connectModel(m_model.get());
            m_model->registerModelConnection(&twice);
            auto moved = std::make_unique<RecordingConnection>("m", 10);
            moved->connectModel(m_model.get());
            moved->setParameterId(11);  // still heard under the id it registered with
            m_journal.clear();
            m_model->setModelIntValue(10, 1);
            m_model->setModelIntValue(11, 3);
            QCOMPARE(m_journal, QStringList({"c1:10", "c3:10", "t:10", "t:10", "m:10"}));
        }
        // Under ASan a stale entry would fault here.
        m_journal.clear();
        m_model->setModelIntValue(10, 0);
        QCOMPARE(m_journal, QStringList({"c1:10", "c3:10"}));
    }

    void registrationDuringNotificationTakesEffectFromTheNextChange()
    {
        RecordingAssistant first("A");
        RecordingAssistant late("L");
        RecordingConnection lateConnection("lc", 10);
        // (A std::function must not be reassigned while it runs: one-shot
        // actions use a flag.)
        bool pending = true;
        first.onUpdate = [&] {
            if (std::exchange(pending, false)) {
                m_model->registerModelAssistant(&late);
            }
        };
        m_model->registerModelAssistant(&first);
        m_model->setModelIntValue(10, 1);
        QCOMPARE(m_journal, QStringList({"A:10"}));
        m_journal.clear();
        m_model->setModelIntValue(10, 0);
        QCOMPARE(m_journal, QStringList({"A:10", "L:10"}));

        // An assistant removed during a pass is still called in that pass,
        // and not in the next.
        m_journal.clear();
        first.onUpdate = [&] { m_model->unregisterModelAssistant(&late); };
        m_model->setModelIntValue(10, 1);
        QCOMPARE(m_journal, QStringList({"A:10", "L:10"}));
        first.onUpdate = nullptr;
        m_journal.clear();
        m_model->setModelIntValue(10, 0);
        QCOMPARE(m_journal, QStringList({"A:10"}));

        // A connection registered from an assistant is told at once.
        m_journal.clear();
        pending = true;
        first.onUpdate = [&] {
            if (std::exchange(pending, false)) {
                lateConnection.connectModel(m_model.get());
            }
        };
        m_model->setModelIntValue(11, 0);
        QCOMPARE(m_journal, QStringList({"A:11", "lc:10", "A:10"}));
        QCOMPARE(m_model->unregisterModelAssistant(&first), MODEL_RESULT_SUCCESS);
        QCOMPARE(m_model->unregisterModelAssistant(&first), MODEL_RESULT_ERROR);
    }

private:
    QStringList m_journal;
    std::unique_ptr<Model> m_model;
};

QTEST_GUILESS_MAIN(ModelTest)
#include "ModelTest.moc"

// The parameters' value texts and the edit flag's lock. (Ranges are
// checked where they matter: settings read from the INI file.)
#include <QtTest>

#include "ModelAssistant.h"
#include "OstrelModel.h"

namespace {

class Counter : public ModelAssistant {
public:
    void updateParameter(unsigned int id) override { ids.append(id); }
    QList<unsigned int> ids;
};

}  // namespace

class OstrelModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valueTextsForValidAndInvalidValues_data()
    {
        QTest::addColumn<unsigned int>("id");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("middle C") << ParamMessageMiddleC << QStringList{"C3", "C4", "C5"};
        QTest::newRow("time format") << ParamMessageTimeFormat << QStringList{"Clock", "Integer", "Delta"};
    }

    void valueTextsForValidAndInvalidValues()
    {
        QFETCH(unsigned int, id);
        QFETCH(QStringList, texts);
        OstrelModel model;
        for (int value = -2; value <= texts.size() + 1; value++) {
            MODEL_RESULT result = MODEL_RESULT_SUCCESS;
            const QString text = model.getParameterString(id, value, &result);
            const bool valid = value >= 0 && value < texts.size();
            QCOMPARE(text, valid ? texts.at(value) : QString());
            QCOMPARE(result, valid ? MODEL_RESULT_SUCCESS : MODEL_RESULT_ERROR);
        }
    }

    void editFlagIsLockedWhileWindowsAreRebuilt()
    {
        OstrelModel model;
        Counter counter;
        model.registerModelAssistant(&counter);
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagUnchanged);

        model.lockParameterEditFlag();
        model.lockParameterEditFlag();
        model.setParameterEditFlag(ParameterEditFlagEdited);
        model.unlockParameterEditFlag();
        model.setParameterEditFlag(ParameterEditFlagEdited);
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagUnchanged);
        QVERIFY(counter.ids.isEmpty());

        model.unlockParameterEditFlag();
        model.setParameterEditFlag(ParameterEditFlagEdited);
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagEdited);
        QCOMPARE(counter.ids, QList<unsigned int>{ParamEditFlag});
        model.setParameterEditFlag(ParameterEditFlagEdited);
        QCOMPARE(counter.ids.size(), 1);
        model.setParameterEditFlag(ParameterEditFlagUnchanged);
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagUnchanged);
        QCOMPARE(counter.ids.size(), 2);
        model.unregisterModelAssistant(&counter);
    }
};

QTEST_GUILESS_MAIN(OstrelModelTest)
#include "OstrelModelTest.moc"

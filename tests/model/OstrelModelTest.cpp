// The application's parameter table, its value texts and the edit flag.
#include <QStandardPaths>
#include <QtTest>

#include "ModelAssistant.h"
#include "OstrelModel.h"

namespace {

struct Row {
    unsigned int id;
    int minimum;
    int maximum;
    int defaultValue;
    const char* name;
};

// Written out by hand from the table of parameters: a change of any id,
// range, default or name must show up here.
const Row integerRows[] = {
    {0, 0, 2, 0, ""},
    {3, 0, 1, 0, ""},
    {4, 0, 1, 0, ""},
    {500, 0, 1, 0, "MIDI Thru"},
    {501, 0, 1000, 0, "Bulk Interval (ms)"},
    {502, 0, 1, 0, "MIDI Thru"},
    {503, 0, 2147483647, 0, "Input Port Index"},
    {504, 0, 2147483647, 0, "Input Port Index"},
    {505, 0, 2147483647, 0, "Output Port Index"},
    {506, 0, 2147483647, 0, "Output Port Index"},
    {507, 0, 1, 1, "Port1"},
    {508, 0, 1, 1, "Port2"},
    {1200, 0, 1, 0, "Knob Mode"},
    {1201, 0, 1, 0, "Time"},
    {1202, 0, 1, 0, "Font Size"},
    {1203, 0, 1, 1, "Color"},
    {1204, 0, 1, 0, "Details"},
    {1205, 0, 2, 0, "Middle C"},
    {1206, 0, 1, 0, "Time Format"},
    {1207, 0, 1, 1, "Parser"},
    {1208, 0, 1, 1, "Program Number"},
    {1300, 0, 1, 0, "Enable"},
    {1301, -5, 4, 0, "Octave"},
    {1302, 1, 16, 1, "Channel"},
    {1303, 0, 127, 64, "Velocity"},
};

const struct {
    unsigned int first;
    unsigned int last;
} switchBlocks[] = {{600, 615}, {700, 709}, {800, 927}, {1000, 1003}, {1100, 1105}};

class Counter : public ModelAssistant {
public:
    void updateParameter(unsigned int id) override { ids.append(id); }
    QList<unsigned int> ids;
};

}  // namespace

class OstrelModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void constantsMatchTheTable()
    {
        QCOMPARE(ParamSysExTransmitState, 0u);
        QCOMPARE(ParamDumpFileWorkingDirectory, 1u);
        QCOMPARE(ParamProjectFileWorkingDirectory, 2u);
        QCOMPARE(ParamEditFlag, 3u);
        QCOMPARE(ParamSysExRepeat, 4u);
        const unsigned int ports[] = {ParamMidiThru, ParamBulkInterval, ParamMidiThruSecond,
                                      ParamInputPortIndex, ParamInputPortIndexSecond,
                                      ParamOutputPortIndex, ParamOutputPortIndexSecond,
                                      ParamMonitorPort1, ParamMonitorPort2};
        for (unsigned int i = 0; i < 9; i++) {
            QCOMPARE(ports[i], 500u + i);
        }
        QCOMPARE(ParamChannelFilterFirst, 600u);
        QCOMPARE(ParamMessageFilterFirst, 700u);
        QCOMPARE(ParamControlChangeFilterFirst, 800u);
        QCOMPARE(ParamSystemCommonFilterFirst, 1000u);
        QCOMPARE(ParamSystemRealtimeFilterFirst, 1100u);
        const unsigned int preferences[] = {ParamKnobMode, ParamTimeStamp, ParamMessageFontSize,
                                            ParamMessageColor, ParamMessageDetail,
                                            ParamMessageMiddleC, ParamMessageTimeFormat,
                                            ParamMessageParsed, ParamProgramNumberBase};
        for (unsigned int i = 0; i < 9; i++) {
            QCOMPARE(preferences[i], 1200u + i);
        }
        QCOMPARE(ParamPCKeyboardEnable, 1300u);
        QCOMPARE(ParamPCKeyboardOctave, 1301u);
        QCOMPARE(ParamPCKeyboardChannel, 1302u);
        QCOMPARE(ParamPCKeyboardVelocity, 1303u);
    }

    void everyParameterHasItsRangeDefaultAndName()
    {
        OstrelModel model;
        for (const Row& row : integerRows) {
            MODEL_RESULT result = MODEL_RESULT_ERROR;
            QCOMPARE(model.getModelMinimumValue(row.id, &result), row.minimum);
            QVERIFY2(result == MODEL_RESULT_SUCCESS, qPrintable(QString::number(row.id)));
            QCOMPARE(model.getModelMaximumValue(row.id, nullptr), row.maximum);
            QCOMPARE(model.getModelDefaultValue(row.id, nullptr), row.defaultValue);
            QCOMPARE(model.getModelIntValue(row.id, nullptr), row.defaultValue);
            QCOMPARE(model.getModelParameterName(row.id, nullptr), QString(row.name));
        }
        for (const auto& block : switchBlocks) {
            for (unsigned int id = block.first; id <= block.last; id++) {
                MODEL_RESULT result = MODEL_RESULT_ERROR;
                QCOMPARE(model.getModelMaximumValue(id, &result), 1);
                QVERIFY2(result == MODEL_RESULT_SUCCESS, qPrintable(QString::number(id)));
                QCOMPARE(model.getModelMinimumValue(id, nullptr), 0);
                QCOMPARE(model.getModelDefaultValue(id, nullptr), 0);
                QCOMPARE(model.getModelParameterName(id, nullptr), QString());
            }
            // Nothing just past a block.
            MODEL_RESULT result = MODEL_RESULT_SUCCESS;
            model.getModelIntValue(block.last + 1, &result);
            QCOMPARE(result, MODEL_RESULT_ERROR);
        }
        const QString documents =
            QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation).value(0);
        QCOMPARE(getDocumentDirectory(), documents);
        QCOMPARE(model.getModelStringValue(1, nullptr), documents);
        QCOMPARE(model.getModelDefaultStringValue(2, nullptr), documents);
        QCOMPARE(model.getModelParameterName(1, nullptr), QString("Dump File Working Directory"));
        QCOMPARE(model.getModelParameterName(2, nullptr),
                 QString("Project File Working Directory"));
        MODEL_RESULT result = MODEL_RESULT_SUCCESS;
        model.getModelIntValue(1, &result);
        QCOMPARE(result, MODEL_RESULT_ERROR);  // strings are not integers
        model.getModelIntValue(5, &result);
        QCOMPARE(result, MODEL_RESULT_ERROR);
    }

    void valueTextsForValidAndInvalidValues_data()
    {
        QTest::addColumn<unsigned int>("id");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("knob mode") << ParamKnobMode << QStringList{"Circular", "Linear"};
        QTest::newRow("program number")
            << ParamProgramNumberBase << QStringList{"Zero-based", "One-based"};
        QTest::newRow("font size") << ParamMessageFontSize << QStringList{"Normal", "Large"};
        QTest::newRow("middle C") << ParamMessageMiddleC << QStringList{"C3", "C4", "C5"};
        QTest::newRow("time format") << ParamMessageTimeFormat << QStringList{"Clock", "Integer"};
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

    void valueTextFunctionsDirectly()
    {
        MODEL_RESULT result = MODEL_RESULT_SUCCESS;
        QCOMPARE(getMessageMiddleCString(3, &result), QString());
        QCOMPARE(result, MODEL_RESULT_ERROR);
        QCOMPARE(getKnobModeString(-1, &result), QString());
        QCOMPARE(result, MODEL_RESULT_ERROR);
        QCOMPARE(getTimeFormatString(1, &result), QString("Integer"));
        QCOMPARE(result, MODEL_RESULT_SUCCESS);
        QCOMPARE(getProgramNumberBaseString(0, nullptr), QString("Zero-based"));
        QCOMPARE(getMessageFontSizeString(1, nullptr), QString("Large"));
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

    void projectPathStartsEmpty()
    {
        OstrelModel model;
        QVERIFY(model.projectFilePath().isEmpty());
        model.setProjectFilePath("/tmp/a.ostrel");
        QCOMPARE(model.projectFilePath(), QString("/tmp/a.ostrel"));
        QCOMPARE(model.setModelIntValue(ParamPCKeyboardOctave, -5), MODEL_RESULT_SUCCESS);
        QCOMPARE(model.getModelIntValue(ParamPCKeyboardOctave, nullptr), -5);
    }
};

QTEST_GUILESS_MAIN(OstrelModelTest)
#include "OstrelModelTest.moc"

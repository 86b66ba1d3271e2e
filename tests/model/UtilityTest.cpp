// Text files, dialog start paths, hexadecimal conversions.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Utility.h"

namespace {

// Runs check as an unprivileged user: root ignores file permissions, and
// these tests are about what permissions refuse. Returns check's result.
bool asUnprivilegedUser(const std::function<bool()>& check)
{
    if (geteuid() != 0) {
        return check();
    }
    const pid_t child = fork();
    if (child == 0) {
        const uid_t nobody = 65534;
        if (setgid(nobody) != 0 || setuid(nobody) != 0) {
            _exit(2);
        }
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

}  // namespace

class UtilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        // Traversable by the unprivileged user of the permission tests.
        chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    }

    void textFilesRoundTripAsUtf8UpToTheFirstNul()
    {
        const QString path = m_dir.filePath("dump.txt");
        const QString text = QString::fromUtf8("F0 7E 7F 09 01 F7 // \u00bd \u00b5\n");
        QVERIFY(Utility::saveAtTextFileName(path, text));
        QCOMPARE(contents(path), text.toUtf8());
        writeBytes(path, QByteArray("F0 01\0 garbage", 14));
        QString loaded;
        QVERIFY(Utility::loadAtTextFileName(path, loaded));
        QCOMPARE(loaded, QString("F0 01"));
    }

    void loadFailuresGiveFalseAndEmptyText()
    {
        QString loaded = "stale";
        QVERIFY(!Utility::loadAtTextFileName(QString(), loaded));
        QVERIFY(loaded.isEmpty());
        loaded = "stale";
        QVERIFY(!Utility::loadAtTextFileName(m_dir.filePath("missing.txt"), loaded));
        QVERIFY(loaded.isEmpty());
        // A pipe named like a dump file would never end; /dev/zero neither.
        const QString pipe = m_dir.filePath("pipe.txt");
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!Utility::loadAtTextFileName(pipe, loaded));
        QVERIFY(!Utility::loadAtTextFileName("/dev/zero", loaded));
        // Above the limit: refused whole (a sparse file, so nothing is written).
        const QString huge = m_dir.filePath("huge.txt");
        {
            QFile file(huge);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(Utility::MaximumTextFileSize + 1));
        }
        QVERIFY(!Utility::loadAtTextFileName(huge, loaded));
        QVERIFY(loaded.isEmpty());
        // At the limit: read (up to its first NUL, as always).
        const QString full = m_dir.filePath("full.txt");
        {
            QFile file(full);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("F0 F7");
            QVERIFY(file.resize(Utility::MaximumTextFileSize));
        }
        QVERIFY(Utility::loadAtTextFileName(full, loaded));
        QCOMPARE(loaded, QString("F0 F7"));

        const QString secret = m_dir.filePath("secret.txt");
        writeBytes(secret, "F0 F7");
        QFile::setPermissions(secret, QFileDevice::Permissions());
        QVERIFY(asUnprivilegedUser([&] {
            QString text = "stale";
            return !Utility::loadAtTextFileName(secret, text) && text.isEmpty();
        }));
    }

    void failedSaveKeepsThePreviousFile()
    {
        QVERIFY(!Utility::saveAtTextFileName(QString(), "x"));
        QVERIFY(!Utility::saveAtTextFileName(m_dir.filePath("no/such/dir/a.txt"), "x"));

        const QString locked = m_dir.filePath("locked");
        QVERIFY(QDir(m_dir.path()).mkdir("locked"));
        const QString good = locked + "/good.txt";
        writeBytes(good, "F0 01 02 F7\n");
        QFile::setPermissions(good, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadOther | QFileDevice::WriteOther);
        chmod(QFile::encodeName(locked).constData(), 0555);
        // The file itself is writable, its directory is not: a save that
        // truncated in place would succeed; a safe one must refuse.
        QVERIFY(asUnprivilegedUser([&] { return !Utility::saveAtTextFileName(good, "F0 F7"); }));
        chmod(QFile::encodeName(locked).constData(), 0755);
        QCOMPARE(contents(good), QByteArray("F0 01 02 F7\n"));
        QCOMPARE(QDir(locked).entryList(QDir::Files), QStringList{"good.txt"});
    }

    void dialogStartPathsFallBackWhenTheDirectoryIsGone()
    {
        const QString present = m_dir.filePath("a.txt");
        QCOMPARE(Utility::fileOpenDialogStartPath(present, "/fallback"), present);
        QCOMPARE(Utility::fileSaveDialogStartPath(present, "/fallback"), present);
        const QString gone = m_dir.filePath("deleted/b.txt");
        QCOMPARE(Utility::fileOpenDialogStartPath(gone, "/fallback"), QString("/fallback"));
        QCOMPARE(Utility::fileSaveDialogStartPath(gone, "/fallback"), QString("/fallback/b.txt"));
    }

    void hexadecimalConversions()
    {
        unsigned char msb = 9, lsb = 9;
        QVERIFY(!Utility::convert2BytesValueToMsbLsb(16384, msb, lsb));
        QVERIFY(Utility::convert2BytesValueToMsbLsb(8193, msb, lsb));
        QCOMPARE(msb, 0x40);
        QCOMPARE(lsb, 0x01);

        unsigned char bytes[4] = {};
        unsigned char* buffer = bytes;
        QVERIFY(!Utility::convertHexStringToHexNumber(&buffer, "F0G7", 2));
        QCOMPARE(bytes[0], 0xF0);
        QCOMPARE(bytes[1], 0x00);
        QVERIFY(Utility::convertHexStringToHexNumber(&buffer, "7e7F0a", 3));
        QCOMPARE(bytes[0], 0x7E);
        QCOMPARE(bytes[2], 0x0A);
        QVERIFY(!Utility::convertHexStringToHexNumber(&buffer, "010", 2));  // lone digit
        QVERIFY(!Utility::convertHexStringToHexNumber(&buffer, " 1", 1));
        QVERIFY(!Utility::convertHexStringToHexNumber(&buffer, "+1", 1));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(UtilityTest)
#include "UtilityTest.moc"

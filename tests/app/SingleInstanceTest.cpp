// Two real copies of the program: the second ends at once with exit code 0, and a copy killed
// with SIGKILL never blocks the next one.
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

#include "app/SingleInstance.h"

using namespace quorvel;

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir runtimeDir;

    QProcess* startCopy() {
        auto* p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUORVEL_SKIP_UPDATE_CHECK", "1");
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(QUORVEL_PROGRAM), {});
        return p;
    }

    // The process holding the lock, 0 when it is free.
    pid_t lockHolder() {
        QString path = runtimeDir.path() + "/dozidUZ:Kestrom.lock";
        int fd = open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return 0;
        struct flock query {};
        query.l_type = F_WRLCK;
        query.l_whence = SEEK_SET;
        pid_t holder = fcntl(fd, F_GETLK, &query) == 0 && query.l_type != F_UNLCK ? query.l_pid : 0;
        close(fd);
        return holder;
    }

    bool holdsLock(QProcess* p) {
        return QTest::qWaitFor([&] { return lockHolder() == p->processId(); }, 10000);
    }

  private slots:
    void initTestCase() {
        QVERIFY(runtimeDir.isValid());
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
        QCOMPARE(QString::fromStdString(instanceLockPath(instanceMutexName)),
                 runtimeDir.path() + "/dozidUZ:Kestrom.lock");
    }

    void secondCopyEndsQuietly() {
        QProcess* first = startCopy();
        QVERIFY(holdsLock(first));

        QProcess* second = startCopy();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(second->waitForFinished(10000));
        qInfo("second copy ended after %lld ms", clock.elapsed());
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(second->readAllStandardOutput(), QByteArray());
        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(lockHolder(), first->processId());

        first->kill(); // SIGKILL: no clean-up runs
        QVERIFY(first->waitForFinished(5000));
        QProcess* third = startCopy();
        QVERIFY(holdsLock(third));
        QTest::qWait(300);
        QCOMPARE(third->state(), QProcess::Running);
        third->kill();
        third->waitForFinished(5000);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"

#include "print/PrivateCups.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> &serverFolder() {
    static std::unique_ptr<QTemporaryDir> folder;
    return folder;
}

bool writeText(const QString &path, const QByteArray &text, QFile::Permissions permissions) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size()
           && f.setPermissions(permissions);
}

// The device of the test's queues: the device URI names the folder the job
// goes to. Without arguments a backend lists the devices it finds: none.
const QByteArray backend = R"(#!/bin/sh
[ $# -eq 0 ] && exit 0
cat ${6:+"$6"} > "${DEVICE_URI#kirabojob:}/job-$1"
)";

// The scheduler's configuration: its socket, no sharing, no web pages, and
// anyone on the socket may do anything.
const char *const schedulerConf = R"(Listen @ROOT@/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
PreserveJobHistory Yes
<Location />
Order allow,deny
Allow all
</Location>
<Policy default>
<Limit All>
Order deny,allow
</Limit>
</Policy>
)";

// Everything the scheduler keeps lies in the test's folder.
const char *const filesConf = R"(FileDevice No
ServerRoot @ROOT@
RequestRoot @ROOT@/spool
TempDir @ROOT@/spool/tmp
CacheDir @ROOT@/cache
StateDir @ROOT@/state
ServerBin @ROOT@/bin
DataDir /usr/share/cups
ErrorLog @ROOT@/log/error_log
AccessLog @ROOT@/log/access_log
PageLog @ROOT@/log/page_log
)";

// Reads the attributes of an IPP message: name and the first value of each.
QList<QPair<QByteArray, QByteArray>> ippAttributes(const QByteArray &message) {
    QList<QPair<QByteArray, QByteArray>> out;
    qsizetype at = 8; // version, operation, request id
    auto u16 = [&](qsizetype i) {
        return (static_cast<unsigned char>(message[i]) << 8) | static_cast<unsigned char>(message[i + 1]);
    };
    while (at < message.size()) {
        const auto tag = static_cast<unsigned char>(message[at++]);
        if (tag == 0x03) // end of attributes
            break;
        if (tag < 0x10) // a group begins
            continue;
        if (at + 2 > message.size())
            break;
        const int nameLength = u16(at);
        at += 2;
        const QByteArray name = message.mid(at, nameLength);
        at += nameLength;
        if (at + 2 > message.size())
            break;
        const int valueLength = u16(at);
        at += 2;
        const QByteArray value = message.mid(at, valueLength);
        at += valueLength;
        if (!name.isEmpty()) // an empty name adds a value to the one before
            out.append({name, value});
    }
    return out;
}

int ippInteger(const QByteArray &value) {
    if (value.size() != 4)
        return -1;
    return (static_cast<unsigned char>(value[0]) << 24) | (static_cast<unsigned char>(value[1]) << 16)
           | (static_cast<unsigned char>(value[2]) << 8) | static_cast<unsigned char>(value[3]);
}

} // namespace

void usePrivatePrintServer() {
    serverFolder() = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kirabo-cups-XXXXXX"));
    qputenv("CUPS_SERVER", QFile::encodeName(serverFolder()->filePath(QStringLiteral("cups.sock"))));
}

PrivateCups::PrivateCups() : root(serverFolder() ? serverFolder()->path() : QString()) {}

PrivateCups::~PrivateCups() {
    stop();
}

bool PrivateCups::run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        why = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ")
              + QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    return true;
}

bool PrivateCups::start() {
    if (root.isEmpty()) {
        why = QStringLiteral("the test program did not set up the print server's folder");
        return false;
    }
    const QString cupsd =
        QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    const QString serverBin = QStringLiteral("/usr/lib/cups");
    if (cupsd.isEmpty() || !QFile::exists(serverBin + QStringLiteral("/daemon/cups-exec"))) {
        why = QStringLiteral("cupsd is not installed (scripts/setup.sh installs it)");
        return false;
    }
    // Each daemon starts from nothing: no queue, no job of an earlier one.
    QDir dir(root);
    dir.removeRecursively();
    dir.mkpath(root);
    for (const char *sub : {"spool", "spool/tmp", "cache", "state", "log", "jobs", "bin/backend"})
        dir.mkpath(QString::fromLatin1(sub));
    // The daemon runs the programs of its own ServerBin; ours holds the
    // test's backend beside the system's helpers.
    QFile::link(serverBin + QStringLiteral("/daemon"), dir.filePath(QStringLiteral("bin/daemon")));
    const QByteArray r = QFile::encodeName(root);
    const QByteArray conf = QByteArray(schedulerConf).replace("@ROOT@", r);
    const QByteArray files = QByteArray(filesConf).replace("@ROOT@", r);
    const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    // Run by root, the daemon runs a backend as root only when nobody else
    // may read or run it.
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    if (!writeText(dir.filePath(QStringLiteral("cupsd.conf")), conf, readable)
        || !writeText(dir.filePath(QStringLiteral("cups-files.conf")), files, readable)
        || !writeText(dir.filePath(QStringLiteral("bin/backend/kirabojob")), backend, ownerOnly)) {
        why = QStringLiteral("cannot write the configuration in ") + root;
        return false;
    }

    daemon.setProcessChannelMode(QProcess::MergedChannels);
    daemon.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), dir.filePath(QStringLiteral("cupsd.conf")),
                         QStringLiteral("-s"), dir.filePath(QStringLiteral("cups-files.conf"))});
    if (!daemon.waitForStarted(10000)) {
        why = QStringLiteral("cupsd does not start: ") + daemon.errorString();
        return false;
    }
    // Ready once the scheduler answers on its socket.
    for (int attempt = 0; attempt < 100 && daemon.state() == QProcess::Running; ++attempt) {
        QProcess probe;
        probe.start(QStringLiteral("lpstat"), {QStringLiteral("-r")});
        if (probe.waitForFinished(5000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return true;
        QThread::msleep(50);
    }
    QFile log(dir.filePath(QStringLiteral("log/error_log")));
    log.open(QIODevice::ReadOnly);
    why = QStringLiteral("cupsd did not come up: ") + QString::fromLocal8Bit(daemon.readAll())
          + QString::fromLocal8Bit(log.readAll().right(2000));
    stop();
    return false;
}

void PrivateCups::stop() {
    if (daemon.state() == QProcess::NotRunning)
        return;
    daemon.terminate();
    if (!daemon.waitForFinished(10000)) {
        daemon.kill();
        daemon.waitForFinished(5000);
    }
}

bool PrivateCups::addQueue(const QString &name) {
    const QString device = QStringLiteral("kirabojob:") + QDir(root).filePath(QStringLiteral("jobs"));
    // A scheduler that has just answered can still drop the next connection
    // while it settles (on a loaded machine, "Bad file descriptor"): a few
    // more tries before the queue counts as refused.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                                            device, QStringLiteral("-m"), QStringLiteral("raw")})
            && run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}))
            return true;
        if (daemon.state() != QProcess::Running)
            return false;
        QThread::msleep(200);
    }
    return false;
}

QList<PrivateCups::JobRecord> PrivateCups::jobRecords() const {
    QList<JobRecord> records;
    const QDir spool(QDir(root).filePath(QStringLiteral("spool")));
    // Only the records themselves: the scheduler writes a new one beside the
    // old as "c00001.N" and keeps the old as "c00001.O" for a moment.
    static const QRegularExpression record(QStringLiteral("^c[0-9]+$"));
    for (const QString &control : spool.entryList({QStringLiteral("c*")}, QDir::Files, QDir::Name)) {
        if (!record.match(control).hasMatch())
            continue;
        QFile f(spool.filePath(control));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        JobRecord job;
        for (const auto &[name, value] : ippAttributes(f.readAll())) {
            if (name == "job-id")
                job.id = ippInteger(value);
            else if (name == "job-name")
                job.name = QString::fromUtf8(value);
            else if (name == "copies")
                job.copies = ippInteger(value);
            else if (name == "job-state")
                job.state = ippInteger(value);
        }
        records << job;
    }
    return records;
}

QStringList PrivateCups::jobFiles() const {
    return QDir(QDir(root).filePath(QStringLiteral("jobs"))).entryList(QDir::Files, QDir::Name);
}

QString PrivateCups::jobFile(const QString &name) const {
    return QDir(QDir(root).filePath(QStringLiteral("jobs"))).filePath(name);
}

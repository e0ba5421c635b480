#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

// A print server of the test's own: a cupsd started as a child process with
// its configuration, spool and socket in a folder of the test, and queues
// whose device writes each job to a file in that folder. The test program
// points CUPS_SERVER at the socket before Qt first asks for printers (see
// usePrivatePrintServer), so no printer of the machine ever shows.
class PrivateCups {
public:
    // The folder given by usePrivatePrintServer.
    PrivateCups();
    ~PrivateCups();

    // Starts the daemon; false, with the reason in error(), when it cannot.
    bool start();
    void stop();
    const QString &error() const { return why; }

    // A queue whose device writes job N to jobs/job-N, made the default.
    bool addQueue(const QString &name);

    // The scheduler's record of a job, from its control file in the spool.
    struct JobRecord {
        int id = 0;
        QString name;
        int copies = 1; // a job that names no copies has one
        int state = 0;  // 9: completed
    };
    QList<JobRecord> jobRecords() const;
    // The jobs the device wrote, by file name.
    QStringList jobFiles() const;
    QString jobFile(const QString &name) const;

private:
    bool run(const QString &program, const QStringList &args);
    QString root;
    QProcess daemon;
    QString why;
};

// Creates the folder of the private print server and points CUPS_SERVER at
// its socket; called once, before any test runs.
void usePrivatePrintServer();

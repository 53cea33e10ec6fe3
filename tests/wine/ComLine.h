#pragma once

// A pseudo-terminal standing in for a tester's serial line: its slave is linked where the
// reader looks for the port (a Wine prefix's dosdevices/comN, or a path named in the
// settings), and the test plays reports onto its master at a tester's pace.

#include <QByteArray>
#include <QString>
#include <QTimer>

namespace kelvor::test {

class ComLine {
public:
    explicit ComLine(QString link);
    ~ComLine();
    ComLine(const ComLine&) = delete;
    ComLine& operator=(const ComLine&) = delete;

    // The slave's own path (/dev/pts/N).
    const QString& device() const { return device_; }
    // Queues bytes behind whatever is still to be sent; they go out at 960 characters a
    // second, 96 at a time.
    void send(const QByteArray& bytes);
    bool idle() const { return outgoing_.isEmpty(); }
    // The cable pulled: the master closes (the reader's side hangs up) and the link goes.
    void pull();

private:
    void writeChunk();

    QString link_;
    QString device_;
    int master_ = -1;
    int slave_ = -1; // kept open so the line's settings outlive the reader's opens
    QByteArray outgoing_;
    QTimer pace_;
};

// Points `link` at `target` in one step, as a device node that comes back under the same
// name would.
bool pointLink(const QString& link, const QString& target);

} // namespace kelvor::test

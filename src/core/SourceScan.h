#pragma once
// The scan of the source tree: every directory below the source root, as
// entries relative to it with levels joined by a backslash, depth first, in
// the order the file system lists them.
#include "platform/DirectoryListing.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace core {

// Where the scan puts its entries. It only ever appends.
class ScanSink
{
public:
    virtual ~ScanSink() = default;
    virtual void append(const QString &entry) = 0;
};

class StringListSink : public ScanSink
{
public:
    explicit StringListSink(QStringList &out) : m_out(out) {}
    void append(const QString &entry) override { m_out.append(entry); }

private:
    QStringList &m_out;
};

// Lets waiting window events run. The scan calls it once this long has
// passed since the previous call, so the window repaints well inside 50 ms
// without paying for the event loop after every name.
using ScanYield = std::function<void()>;
constexpr int kScanYieldIntervalMs = 30;
// Milliseconds from any fixed start, on which that pace is measured; a
// steady clock unless one is given.
using ScanClock = std::function<qint64()>;

struct ScanResult {
    // False when the source root could not be made current or listed;
    // nothing was appended then.
    bool rootListed = false;
    // Entries of directories below the root that are in the output but could
    // not be listed themselves; the scan goes on with their siblings.
    QStringList unreadableEntries;
    // Links to a directory above them that were left out.
    int linkLoopsSkipped = 0;
};

class SourceTreeScan
{
public:
    SourceTreeScan(const QString &srcRoot, ScanSink &sink, ScanYield yield = {}, ScanClock clock = {});

    // Appends an entry for every directory below the one that prefix names
    // (empty: the root; otherwise an entry followed by one backslash), at
    // every depth. False when that directory itself cannot be listed.
    bool RecurseTree(const QString &prefix);

    const ScanResult &result() const { return m_result; }

private:
    struct Frame {
        QString nativePath;
        bool identityRead = false;
        std::optional<platform::DirectoryIdentity> identity;
    };
    bool leadsToAncestor(const platform::DirectoryIdentity &target);
    void maybeYield();

    QString m_srcRoot;
    ScanSink &m_sink;
    ScanYield m_yield;
    ScanClock m_clock;
    qint64 m_lastYield = 0;
    // The directories being listed, root first: a link that leads back to
    // one of them would repeat the walk without end.
    std::vector<Frame> m_ancestors;
    ScanResult m_result;
};

// Makes srcRoot the current directory (it is left there) and appends every
// directory below it to sink.
ScanResult ScanSourceTree(const QString &srcRoot, ScanSink &sink, ScanYield yield = {}, ScanClock clock = {});

// True when entry lies strictly below one of the folders (entries as the scan
// gives them): a folder's own entry is not below it.
bool liesBelowAny(const QString &entry, const QStringList &folders);

} // namespace core

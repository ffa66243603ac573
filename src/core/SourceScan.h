#pragma once
// The scan of the source tree: every directory below the source root, as
// entries relative to it with levels joined by a backslash, depth first, in
// the order the file system lists them.
#include "platform/DirectoryListing.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace core {

// Where the scan puts its entries. It only ever appends.
class ScanSink
{
public:
    virtual ~ScanSink() = default;
    virtual void append(const QString &entry) = 0;
    // A folder whose name no entry can hold as it is (bytes that are no
    // text in the file system's encoding, a "\" inside the name): shown,
    // never to be added, and not entered. By default appended as any other.
    virtual void appendUnholdable(const QString &entry) { append(entry); }
};

class StringListSink : public ScanSink
{
public:
    explicit StringListSink(QStringList &out) : m_out(out) {}
    void append(const QString &entry) override { m_out.append(entry); }

private:
    QStringList &m_out;
};

// Lets waiting window events run, told how many folders the scan has listed
// so far, and answers whether the scan is to go on (false: cancelled). The
// scan calls it once this long has passed since the previous call, so the
// window repaints well inside 50 ms without paying for the event loop after
// every name.
using ScanYield = std::function<bool(int foldersListed)>;
constexpr int kScanYieldIntervalMs = 30;
// Milliseconds from any fixed start, on which that pace is measured; a
// steady clock unless one is given.
using ScanClock = std::function<qint64()>;

struct ScanResult {
    // False when the source root could not be made current or listed;
    // nothing was appended then.
    bool rootListed = false;
    // The yield asked the scan to stop; what it appended is not the tree.
    bool cancelled = false;
    // Entries of directories below the root that are in the output but could
    // not be listed themselves; the scan goes on with their siblings.
    QStringList unreadableEntries;
    // Links to directories that were not followed, as the entries they would
    // have had (not in the output): ones that lead back to a directory being
    // listed, or to the source root or any directory above it, which would
    // walk the tree again or the whole disk.
    QStringList linksNotFollowed;
};

class SourceTreeScan
{
public:
    SourceTreeScan(const QString &srcRoot, ScanSink &sink, ScanYield yield = {}, ScanClock clock = {});

    // Appends an entry for every directory below the one that prefix names
    // (empty: the root; otherwise an entry followed by one backslash), at
    // every depth. False when that directory itself cannot be listed. It
    // keeps its own stack of the directories under way rather than calling
    // itself, so no depth of tree can exhaust the thread's stack.
    bool RecurseTree(const QString &prefix);

    const ScanResult &result() const { return m_result; }

private:
    // One directory under way: its listing, open while what lies below it
    // is listed (each is reached through it), the subdirectories it gave,
    // in order, and how many of them have been taken.
    struct Frame {
        std::unique_ptr<platform::DirectoryListing> listing;
        bool identityRead = false;
        std::optional<platform::DirectoryIdentity> identity;
        struct Child {
            QString name;
            QString entry;
            bool holdable = true;
        };
        std::vector<Child> children;
        std::size_t next = 0;
    };
    // Phase 1 of a directory: its whole listing, before any descent. False
    // when it cannot be listed.
    bool listDirectory(const QString &prefix, Frame &frame);
    bool leadsUpTheTree(const platform::DirectoryIdentity &target);
    // False once the yield has cancelled the scan.
    bool maybeYield();

    QString m_srcRoot;
    ScanSink &m_sink;
    ScanYield m_yield;
    ScanClock m_clock;
    qint64 m_lastYield = 0;
    int m_foldersListed = 0;
    // The directories being listed, root first: a link that leads back to
    // one of them would repeat the walk without end.
    std::vector<Frame> m_stack;
    // The source root and every directory above it, read once.
    std::optional<std::vector<platform::DirectoryIdentity>> m_rootAndAbove;
    ScanResult m_result;
};

// Makes srcRoot the current directory (it is left there) and appends every
// directory below it to sink.
ScanResult ScanSourceTree(const QString &srcRoot, ScanSink &sink, ScanYield yield = {}, ScanClock clock = {});

// True when entry lies strictly below one of the folders (entries as the scan
// gives them): a folder's own entry is not below it.
bool liesBelowAny(const QString &entry, const QStringList &folders);

} // namespace core

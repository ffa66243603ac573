#include "core/SourceScan.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QElapsedTimer>
#include <memory>

namespace core {

namespace {

const QString kSkippedName = QStringLiteral("pagefile.sys");

} // namespace

SourceTreeScan::SourceTreeScan(const QString &srcRoot, ScanSink &sink, ScanYield yield, ScanClock clock)
    : m_srcRoot(srcRoot), m_sink(sink), m_yield(std::move(yield)), m_clock(std::move(clock))
{
    if (!m_clock) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        m_clock = [started] { return started->elapsed(); };
    }
    m_lastYield = m_clock();
}

bool SourceTreeScan::maybeYield()
{
    if (m_result.cancelled)
        return false;
    if (m_yield && m_clock() - m_lastYield >= kScanYieldIntervalMs) {
        m_result.cancelled = !m_yield(m_foldersListed);
        m_lastYield = m_clock();
    }
    return !m_result.cancelled;
}

bool SourceTreeScan::leadsUpTheTree(const platform::DirectoryIdentity &target)
{
    for (Frame &frame : m_stack) {
        if (!frame.identityRead) {
            frame.identity = frame.listing->ownIdentity();
            frame.identityRead = true;
        }
        if (frame.identity && *frame.identity == target)
            return true;
    }
    if (!m_rootAndAbove)
        m_rootAndAbove = platform::identitiesFromHereUp(platform::nativePath(m_srcRoot));
    for (const platform::DirectoryIdentity &id : *m_rootAndAbove) {
        if (id == target)
            return true;
    }
    return false;
}

bool SourceTreeScan::listDirectory(const QString &prefix, Frame &frame)
{
    platform::DirectoryListing &listing = *frame.listing;
    if (!listing.isOpen())
        return false;
    ++m_foldersListed;
    // Room for a usual folder's subfolders at once, rather than growing.
    frame.children.reserve(16);
    while (listing.next()) {
        const QString &name = listing.name();
        if (name != QLatin1String(".") && name != QLatin1String("..") && name != kSkippedName
            && listing.isDirectory()) {
            const QString entry = prefix + name;
            bool followed = true;
            if (listing.isLinkToDirectory()) {
                const auto target = listing.identity();
                followed = !target || !leadsUpTheTree(*target);
            }
            if (!followed)
                m_result.linksNotFollowed << entry;
            else
                // A "\" inside a name would read as one more level.
                frame.children.push_back({name, entry, listing.nameIsExact() && !name.contains(QLatin1Char('\\'))});
        }
        if (!maybeYield())
            return true;
    }
    return true;
}

bool SourceTreeScan::RecurseTree(const QString &prefix)
{
    const std::size_t base = m_stack.size();
    m_stack.emplace_back();
    // Listed by full path rather than relative to the current directory:
    // handlers that run while the scan yields may change it.
    m_stack.back().listing = std::make_unique<platform::DirectoryListing>(
        platform::nativePath(m_srcRoot + QLatin1Char('\\') + prefix), platform::DirectoryListing::Names::MayBeFolders);
    if (!listDirectory(prefix, m_stack.back())) {
        m_stack.pop_back();
        return false;
    }
    // Phase 2, for each directory on the stack in turn: each entry, then
    // everything below it.
    while (m_stack.size() > base && !m_result.cancelled) {
        Frame &top = m_stack.back();
        if (top.next == top.children.size()) {
            m_stack.pop_back();
            // Empty directories give phase 1 no name to yield after.
            maybeYield();
            continue;
        }
        const Frame::Child child = top.children[top.next++];
        if (!child.holdable) {
            m_sink.appendUnholdable(child.entry);
            maybeYield();
            continue;
        }
        m_sink.append(child.entry);
        // On the stack while it is listed: a link inside it back to itself
        // is a loop too.
        Frame below;
        below.listing = std::make_unique<platform::DirectoryListing>(*top.listing, child.name);
        m_stack.push_back(std::move(below));
        if (!listDirectory(child.entry + QLatin1Char('\\'), m_stack.back())) {
            m_stack.pop_back();
            m_result.unreadableEntries << child.entry;
            maybeYield();
        }
    }
    m_stack.resize(base);
    return true;
}

ScanResult ScanSourceTree(const QString &srcRoot, ScanSink &sink, ScanYield yield, ScanClock clock)
{
    SourceTreeScan scan(srcRoot, sink, std::move(yield), std::move(clock));
    ScanResult result;
    if (platform::changeDirectory(srcRoot) && scan.RecurseTree(QString())) {
        result = scan.result();
        result.rootListed = true;
    }
    return result;
}

bool liesBelowAny(const QString &entry, const QStringList &folders)
{
    for (const QString &folder : folders) {
        if (entry.size() > folder.size() + 1 && entry.startsWith(folder) && entry.at(folder.size()) == u'\\')
            return true;
    }
    return false;
}

} // namespace core

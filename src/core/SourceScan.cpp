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

void SourceTreeScan::maybeYield()
{
    if (m_yield && m_clock() - m_lastYield >= kScanYieldIntervalMs) {
        m_yield();
        m_lastYield = m_clock();
    }
}

bool SourceTreeScan::leadsToAncestor(const platform::DirectoryIdentity &target)
{
    for (Frame &frame : m_ancestors) {
        if (!frame.identityRead) {
            frame.identity = platform::directoryIdentity(frame.nativePath);
            frame.identityRead = true;
        }
        if (frame.identity && *frame.identity == target)
            return true;
    }
    return false;
}

bool SourceTreeScan::RecurseTree(const QString &prefix)
{
    // Listed by full path rather than relative to the current directory:
    // handlers that run while the scan yields may change it.
    const QString nativeDir = platform::nativePath(m_srcRoot + QLatin1Char('\\') + prefix);

    // Phase 1: the whole listing of this directory, before any descent.
    std::vector<QString> found;
    {
        platform::DirectoryListing listing(nativeDir);
        if (!listing.isOpen())
            return false;
        m_ancestors.push_back(Frame{nativeDir, false, std::nullopt});
        while (listing.next()) {
            const QString &name = listing.name();
            if (name != QLatin1String(".") && name != QLatin1String("..") && name != kSkippedName
                && listing.isDirectory()) {
                bool loop = false;
                if (listing.isLinkToDirectory()) {
                    const auto target = listing.identity();
                    loop = target && leadsToAncestor(*target);
                }
                if (loop)
                    ++m_result.linkLoopsSkipped;
                else
                    found.push_back(prefix + name);
            }
            maybeYield();
        }
    }

    // Phase 2: each entry, then everything below it.
    for (const QString &entry : found) {
        m_sink.append(entry);
        if (!RecurseTree(entry + QLatin1Char('\\')))
            m_result.unreadableEntries << entry;
        // Empty directories give phase 1 no name to yield after.
        maybeYield();
    }
    m_ancestors.pop_back();
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

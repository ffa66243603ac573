#include "platform/DirectoryListing.h"

namespace platform {

bool DirectoryListing::isDirectory()
{
    readAttributes();
    return m_isDirectory;
}

bool DirectoryListing::isLinkToDirectory()
{
    readAttributes();
    return m_isLink;
}

} // namespace platform

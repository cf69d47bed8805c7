#include "app/common_dialog.h"

#include "widgets/text.h"
#include "platform/file_system.h"

bool CommonDialog::show(bool save)
{
    // The start folder arrives lower-cased; the chooser opens the folder as it is stored.
    const auto chosen = m_toolkit.chooseFile(platform::FileChooserRequest {
        toText(DialogTitle), m_files.resolvePath(toText(InitDir)), toText(FileName), toText(Filter), save });
    if (!chosen)
        return false;
    FileName = fromText(*chosen);
    return true;
}

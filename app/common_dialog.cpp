#include "app/common_dialog.h"

#include "app/text.h"

bool CommonDialog::show(bool save)
{
    const auto chosen = m_toolkit.chooseFile(
        platform::FileChooserRequest { toText(DialogTitle), toText(InitDir), toText(FileName), toText(Filter), save });
    if (!chosen)
        return false;
    FileName = fromText(*chosen);
    return true;
}

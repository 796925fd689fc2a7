#include "platform/QtServices.h"

Services QtServices::services()
{
    return Services{m_questions, m_fileDialogs, m_settings, m_clipboard, m_printers, m_folders};
}

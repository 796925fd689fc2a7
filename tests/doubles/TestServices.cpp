#include "doubles/TestServices.h"

Services TestServices::services()
{
    return Services{questions, fileDialogs, settings, clipboard, printers, folders};
}

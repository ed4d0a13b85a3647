#include "platform/data/tcurrencyfield.h"

namespace orvo {

TCurrencyField::TCurrencyField(QObject* owner) : TFloatField(ftCurrency, owner)
{
    SetCurrency(true);
}

} // namespace orvo

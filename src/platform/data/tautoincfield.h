#pragma once

#include "platform/data/tintegerfield.h"

namespace orvo {

/// An integer field whose value the database assigns to new records. It is
/// writable like any integer field, since some databases accept explicit keys.
class TAutoIncField : public TIntegerField
{
    Q_OBJECT

public:
    explicit TAutoIncField(QObject* owner = nullptr);
};

} // namespace orvo

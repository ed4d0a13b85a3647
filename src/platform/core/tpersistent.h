#pragma once

#include <QObject>

namespace orvo {

/// The settings objects a control owns and sets by copy: a descendant overrides
/// Assign to take the values of another object of its family, so that a property
/// setter never replaces the owned object a caller may hold a pointer to.
class TPersistent : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// Takes the settings of `source`; raises EConvertError for a source this class
    /// cannot take (nullptr included).
    virtual void Assign(const TPersistent* source);

protected:
    /// Raises the EConvertError Assign reports for a source of the wrong class.
    [[noreturn]] void AssignError(const QObject* source) const;
};

} // namespace orvo

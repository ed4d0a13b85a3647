#pragma once

#include <QString>

class QIODevice;
class QMetaProperty;
class QObject;
class QVariant;
class QTextStream;

namespace orvo {

class TCollection;
class TVariant;

/// Writes an object's published properties as form-file text: `object Name: TClass`,
/// one `Prop = value` line per stored property, owned sub-objects as dotted properties,
/// collections as `<item ... end>` blocks, and `end`. A property is written when the
/// class's IsPStored() says so, or, without one, when it differs from the value a fresh
/// object of the class holds, so that a form file carries only what was changed.
class TFormWriter
{
public:
    explicit TFormWriter(QIODevice& device);

    /// Writes `object` as one form-file object. `defaults` is a fresh object of the same
    /// class to compare with; without it an invokable constructor makes one, else the
    /// zero value of each property's type stands for the default.
    void WriteObject(const QObject& object, const QObject* defaults = nullptr);

    /// A string literal of the form syntax: quoted runs ('it''s') joined with #n codes for
    /// control characters, so that line breaks survive a line-based file.
    static QString QuoteString(const QString& text);
    /// A TVariant literal whose spelling keeps its kind (Null, True, 12, 1.5, 'text').
    static QString VariantText(const TVariant& value);

private:
    void WriteProperties(const QObject& object, const QObject* defaults, const QString& prefix);
    void WriteProperty(const QObject& object, const QMetaProperty& property, const QObject* defaults,
                       const QString& prefix);
    void WriteCollection(const TCollection& collection, const TCollection* defaults, const QString& name);
    void WriteFont(const QVariant& value, const QString& name);
    void WriteStrings(const QString& name, const QVariant& value);
    QString ValueText(const QObject& object, const QMetaProperty& property, const QVariant& value) const;
    void Line(const QString& text);

    QIODevice& FDevice;
    int FIndent = 0;
};

} // namespace orvo

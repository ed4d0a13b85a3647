#include "lists/popup/tlistbutton.h"

#include <QImage>
#include <QTest>

using namespace orvo;

class TListButtonTest : public QObject
{
    Q_OBJECT

private:
    /// Renders a blank-captioned button and reads its top-left corner pixel.
    static QColor Corner(TListButton& button)
    {
        button.resize(30, 22);
        QImage image(button.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        button.render(&image);
        return image.pixelColor(0, 0);
    }

private slots:
    void aFlatButtonDrawsItsRaisedEdgeOnlyWhenAsked_data()
    {
        QTest::addColumn<bool>("flat");
        QTest::addColumn<bool>("edges");
        QTest::addColumn<bool>("edgeDrawn");
        QTest::newRow("flat with edges") << true << true << true;
        QTest::newRow("flat without edges") << true << false << false;
        QTest::newRow("raised button ignores the flag") << false << true << false;
    }
    void aFlatButtonDrawsItsRaisedEdgeOnlyWhenAsked()
    {
        QFETCH(bool, flat);
        QFETCH(bool, edges);
        QFETCH(bool, edgeDrawn);
        TListButton plain;
        plain.SetFlat(flat);
        TListButton marked;
        marked.SetFlat(flat);
        marked.SetEdges(edges);
        QCOMPARE(Corner(marked) != Corner(plain), edgeDrawn);
    }

    void aListButtonNeverTakesTheFocus()
    {
        TListButton button;
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);
    }
};

QTEST_MAIN(TListButtonTest)
#include "tst_listbutton.moc"

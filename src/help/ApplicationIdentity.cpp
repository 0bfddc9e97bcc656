#include "help/ApplicationIdentity.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap ApplicationIcon(int pixels) {
    QPixmap icon(pixels, pixels);
    icon.fill(Qt::transparent);
    QSvgRenderer picture(QStringLiteral(":/org.tandrel.Tandrel.svg"));
    QPainter painter(&icon);
    picture.render(&painter);
    return icon;
}

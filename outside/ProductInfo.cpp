#include "outside/ProductInfo.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

namespace {

constexpr int kProduct = 2;

// Every product question names the product; this library knows only ours,
// so another number is a caller's mistake worth hearing about.
void RequireOurProduct(int product, const char* source) {
    if (product != kProduct)
        throw AppError(ErrorNumber::InvalidArgument, QString::fromUtf8(source),
                       MessageCatalogue::Text(11606).arg(product));
}

const QString& KeyRoot() {
    static const QString root = QStringLiteral("Software\\Pinarejo\\Zelvora");
    return root;
}

} // namespace

QString ProductInfo::GetProductName(int product) const {
    RequireOurProduct(product, "ProductInfo.GetProductName");
    return QStringLiteral("Zelvora");
}

QString ProductInfo::GetBrandName() const {
    return QStringLiteral("Pinarejo");
}

QString ProductInfo::GetProductDescription(int product) const {
    RequireOurProduct(product, "ProductInfo.GetProductDescription");
    return MessageCatalogue::Text(11640);
}

QString ProductInfo::GetNoticeText() const {
    return MessageCatalogue::Text(11641);
}

QString ProductInfo::GetWebAddress() const {
    return QStringLiteral("https://zelvora.pinarejo.example/");
}

QString ProductInfo::GetEmailAddress() const {
    return QStringLiteral("zelvora@pinarejo.example");
}

QString ProductInfo::GetDataFileName(int product) const {
    RequireOurProduct(product, "ProductInfo.GetDataFileName");
    return QStringLiteral("zelvora.ini");
}

QString ProductInfo::GetRegistryKey(int product, qint32 game) const {
    RequireOurProduct(product, "ProductInfo.GetRegistryKey");
    if (game == 0)
        return KeyRoot() + QStringLiteral("\\Configuracion");
    return KeyRoot() + QStringLiteral("\\Juegos\\") + QString::number(game);
}

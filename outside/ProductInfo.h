#pragma once

#include <QString>

// The product's facts: names, texts, addresses, the data file and where the
// player's progress and settings are kept. Every call takes the product
// number, which is always 2.
class ProductInfo {
public:
    QString GetProductName(int product = 2) const;
    QString GetBrandName() const;
    QString GetProductDescription(int product = 2) const;
    QString GetNoticeText() const;
    QString GetWebAddress() const;
    QString GetEmailAddress() const;
    QString GetDataFileName(int product = 2) const;
    // Key path under the current user: game 0 is the settings, game n the
    // saved progress of puzzle n.
    QString GetRegistryKey(int product, qint32 game) const;
};

#include "outside/AppError.h"

AppError::AppError(int number, QString source, QString description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
    what_ = QStringLiteral("%1 (%2): %3").arg(number_).arg(source_, description_).toStdString();
}

AppError AppError::WithSource(const QString& source) const {
    return AppError(number_, source, description_);
}

#pragma once
#include <QDialog>
#include <QHash>

class frmOptions : public QDialog
{
    Q_OBJECT
public:
    explicit frmOptions(QWidget *parent = nullptr) : QDialog(parent) {}
    QHash<QString, QString> values;
};

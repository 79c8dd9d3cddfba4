#pragma once

#include <QString>

// The windows' own Russian texts: captions, menu items, hints, labels and the messages the windows
// themselves give. Texts of the rules (template, data check, files, link, protocol) stay with the
// layer that owns them.
namespace yalmera::ui::texts {

inline QString programTitle()
{
    return QStringLiteral("Ялмера");
}

// Main window menus, in menu-bar order.
inline QString channelsMenu()
{
    return QStringLiteral("Каналы");
}
inline QString channelsMenuHint()
{
    return QStringLiteral("Программирование каналов радоистанции");
}
inline QString createTemplateItem()
{
    return QStringLiteral("Создать шаблон");
}
inline QString writeFileItem()
{
    return QStringLiteral("Запись в файл");
}
inline QString readFileItem()
{
    return QStringLiteral("Чтение файла");
}
inline QString equipmentMenu()
{
    return QStringLiteral("Доп. оборудование");
}
inline QString modulesMenu()
{
    return QStringLiteral("Модули ");
}
inline QString repeaterItem()
{
    return QStringLiteral("Ретранслятор");
}
inline QString checkItem()
{
    return QStringLiteral("Контроль");
}
inline QString checkItemHint()
{
    return QStringLiteral("Проверка введенных данных");
}
inline QString stationMenu()
{
    return QStringLiteral("Станция");
}
inline QString createProtocolItem()
{
    return QStringLiteral("Создать протокол");
}
inline QString stationLinkItem()
{
    return QStringLiteral("Запись/Чтение данных");
}
inline QString stationTypeMenu()
{
    return QStringLiteral("Тип радиостанции");
}
inline QString band30to60Item()
{
    return QStringLiteral("30-60 МГц");
}
inline QString band144to174Item()
{
    return QStringLiteral("144-174 МГц");
}
inline QString band300to345Item()
{
    return QStringLiteral("300-345 МГц");
}
inline QString band400to486Item()
{
    return QStringLiteral("400-486 Мгц");
}
inline QString exitItem()
{
    return QStringLiteral("Выход");
}
inline QString exitItemHint()
{
    return QStringLiteral("Закрытие программы");
}

// "Модули " items; the position is the module type sent to the station and kept in files as "ТипВУ".
inline QString moduleItem(int moduleType)
{
    switch (moduleType) {
    case 1:
        return QStringLiteral("Маскиратор 07ПЛ300-02Г");
    case 2:
        return QStringLiteral("Модуль Тримлинк");
    case 3:
        return QStringLiteral("Маскиратор Зорпик");
    case 4:
        return QStringLiteral("Маскиратор типа \"Тенир\"");
    default:
        return QStringLiteral("Нет модуля");
    }
}
inline constexpr int ModuleItemCount = 5;

// Template panel.
inline QString countLabel()
{
    return QStringLiteral("Кол-во каналов");
}
inline QString startLabel()
{
    return QStringLiteral("Начальная частота, кГц");
}
inline QString offsetLabel()
{
    return QStringLiteral("Смещение, кГц");
}
inline QString countFieldStart()
{
    return QStringLiteral("10");
}
inline QString offsetFieldStart()
{
    return QStringLiteral("1000");
}
inline QString okButton()
{
    return QStringLiteral("Ok");
}

// Repeater panel.
inline QString repeaterTitle()
{
    return QStringLiteral("НАСТРОЙКА РАБОТЫ РЕТРАНСЛЯТОРА");
}
inline QString repeaterChannelLabel()
{
    return QStringLiteral("Номер канала");
}
inline QString repeaterModeLabel()
{
    return QStringLiteral("Рерим работы ретранслятора");
}
inline QString repeaterReceive()
{
    return QStringLiteral("Прием");
}
inline QString repeaterTransmit()
{
    return QStringLiteral("Передача");
}
inline QString repeaterWriteButton()
{
    return QStringLiteral("Запись");
}
inline QString repeaterCloseButton()
{
    return QStringLiteral("Закрыть");
}

// Key filters of the template and repeater fields.
inline QString digitsOnly()
{
    return QStringLiteral("Вводите только цифры от 0 до 9");
}
inline QString digitsAndCommaOnly()
{
    return QStringLiteral("Вводите только цифры от 0 до 9 и запятую");
}

// Plan-file dialogs.
inline QString saveDialogTitle()
{
    return QStringLiteral("Сохранение данных радиостанции на диск");
}
// The save dialog's question before it creates a file that does not exist yet (%1: its name).
inline QString createFileQuestion()
{
    return QStringLiteral("%1\nЭтот файл не существует.\nСоздать его?");
}
inline QString planFileFilter()
{
    return QStringLiteral("Файлы(*.ini)");
}
inline QString defaultPlanFileName()
{
    return QStringLiteral("K17M_10.ini");
}

// Station-link window.
inline QString stationLinkCaption()
{
    return QStringLiteral("Прием и передача информации в станцию");
}
inline QString com1Choice()
{
    return QStringLiteral(" COM1");
}
inline QString com1Hint()
{
    return QStringLiteral("Верхний разъем");
}
inline QString com2Choice()
{
    return QStringLiteral(" COM2");
}
inline QString com2Hint()
{
    return QStringLiteral("Нижний разъем");
}
inline QString otherPortChoice()
{
    return QStringLiteral(" Другой порт:");
}
inline QString otherPortHint()
{
    return QStringLiteral("Переходник USB или путь к устройству, например /dev/ttyUSB0");
}
inline QString noPortNamed()
{
    return QStringLiteral("Не указан порт: выберите его из списка или введите путь к устройству.");
}
inline QString linkExitButton()
{
    return QStringLiteral("Выход");
}
inline QString linkWriteButton()
{
    return QStringLiteral("Запись данных ");
}
inline QString linkReadButton()
{
    return QStringLiteral("Чтение данных ");
}

// Protocol window.
inline QString protocolCaption()
{
    return QStringLiteral("Создание протокола");
}
inline QString serialNumberLabel()
{
    return QStringLiteral("Серийный номер протокола");
}
inline QString protocolCreateButton()
{
    return QStringLiteral("Создать");
}
inline QString protocolPreviewButton()
{
    return QStringLiteral("Просмотр");
}
inline QString protocolExitButton()
{
    return QStringLiteral("Выход");
}
// When no program opens the saved protocol; %1 is the file's path.
inline QString protocolSavedAt(const QString& path)
{
    return QStringLiteral("Протокол сохранен в файле \"%1\".").arg(path);
}

} // namespace yalmera::ui::texts

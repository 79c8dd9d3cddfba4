<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CheckCommand</name>
    <message>
        <source>Usage: yalmera-cli check PLAN.ini

Reads a channel-plan file as &quot;Чтение файла&quot; does (the band and module from its &quot;Тип&quot;
and &quot;ТипВУ&quot;) and runs the data check of &quot;Контроль&quot; on it. Prints the check&apos;s one
message: &quot;Все данные введены верно.&quot; on stdout, or the first rule the plan breaks on
stderr.

Options:
  -h, --help   this text

Exit codes: 0 the plan passed; 1 the check refused it; 2 usage or file error. Messages
on stderr.</source>
        <translation>Использование: yalmera-cli check PLAN.ini

Читает файл плана каналов, как &quot;Чтение файла&quot; (диапазон и модуль из его &quot;Тип&quot; и &quot;ТипВУ&quot;),
и выполняет на нём проверку данных &quot;Контроль&quot;. Выводит единственное сообщение проверки:
&quot;Все данные введены верно.&quot; в stdout или первое правило, которое план нарушает, в stderr.

Параметры:
  -h, --help   этот текст

Коды завершения: 0 план прошёл проверку; 1 проверка его отклонила; 2 ошибка вызова или
файла. Сообщения в stderr.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>лишний аргумент «%1»</translation>
    </message>
    <message>
        <source>no plan file given</source>
        <translation>не указан файл плана</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>Подробнее: &apos;%1 --help&apos;.</translation>
    </message>
</context>
<context>
    <name>ExportCommand</name>
    <message>
        <source>Usage: yalmera-cli export PLAN.ini -o PLAN.csv

Reads a channel-plan file as &quot;Чтение файла&quot; does and writes its channel table as the
spreadsheet file of &quot;Экспорт CSV&quot;: UTF-8 with a byte-order mark, &quot;;&quot; between fields,
the 18 column captions in the first row, one row per channel, the flags &quot;Скан.&quot;,
&quot;Id_Тон&quot; and &quot;Акт&quot; as &quot;да&quot; or &quot;нет&quot;. The general settings stay in the plan file.
A field holding &quot;;&quot;, &quot;,&quot;, a quote or a line break is quoted; a cell starting with &quot;=&quot;,
&quot;+&quot;, &quot;-&quot;, &quot;@&quot; or a single quote gets a single quote first, so that no spreadsheet runs
it as a formula (import takes it away again). A cell that import would refuse (a control
character, a character outside Windows-1251, more than 200 characters) is refused here.

Options:
  -o, --output FILE   the spreadsheet file to write; an existing file is replaced only
                      when the new one is complete
  -h, --help          this text

Exit codes: 0 the file was written; 2 usage or file error.</source>
        <translation>Использование: yalmera-cli export PLAN.ini -o PLAN.csv

Читает файл плана каналов, как &quot;Чтение файла&quot;, и записывает его таблицу каналов в файл
электронной таблицы, как &quot;Экспорт CSV&quot;: UTF-8 с меткой порядка байтов, &quot;;&quot; между полями,
18 заголовков столбцов в первой строке, по строке на канал, флаги &quot;Скан.&quot;, &quot;Id_Тон&quot; и
&quot;Акт&quot; как &quot;да&quot; или &quot;нет&quot;. Общие установки остаются в файле плана.
Поле с &quot;;&quot;, &quot;,&quot;, кавычкой или переводом строки берётся в кавычки; перед ячейкой, которая
начинается с &quot;=&quot;, &quot;+&quot;, &quot;-&quot;, &quot;@&quot; или одиночной кавычки, ставится одиночная кавычка, чтобы
ни одна программа электронных таблиц не выполнила её как формулу (import убирает её
снова). Ячейка, которую отклонил бы import (управляющий символ, символ вне Windows-1251,
больше 200 символов), отклоняется уже здесь.

Параметры:
  -o, --output FILE   записываемый файл электронной таблицы; существующий файл
                      заменяется только готовым новым
  -h, --help          этот текст

Коды завершения: 0 файл записан; 2 ошибка вызова или файла.</translation>
    </message>
    <message>
        <source>no output file given (-o PLAN.csv)</source>
        <translation>не указан выходной файл (-o PLAN.csv)</translation>
    </message>
</context>
<context>
    <name>ImageCommand</name>
    <message>
        <source>Usage: yalmera-cli image PLAN.ini -o IMAGE.bin

Reads a channel-plan file as &quot;Чтение файла&quot; does, runs the data check of &quot;Контроль&quot;
and, when the plan passes, writes exactly the bytes &quot;Запись данных &quot; sends to the
station: the command byte 0x14, the rest of the 26-byte header (module and band code
from the file&apos;s &quot;ТипВУ&quot; and &quot;Тип&quot;) and 18 bytes per channel. Prints the check&apos;s
message: &quot;Все данные введены верно.&quot; on stdout, a refusal on stderr.

Options:
  -o, --output FILE   the image file to write; an existing file is replaced only when
                      the new one is complete
  -h, --help          this text

Exit codes: 0 the image was written; 1 the check refused the plan (nothing written); 2
usage or file error. Messages on stderr.</source>
        <translation>Использование: yalmera-cli image PLAN.ini -o IMAGE.bin

Читает файл плана каналов, как &quot;Чтение файла&quot;, выполняет проверку данных &quot;Контроль&quot; и,
если план её прошёл, записывает ровно те байты, которые &quot;Запись данных &quot; передаёт в
станцию: командный байт 0x14, остаток 26-байтового заголовка (код модуля и диапазона из
&quot;ТипВУ&quot; и &quot;Тип&quot; файла) и по 18 байтов на канал. Выводит сообщение проверки:
&quot;Все данные введены верно.&quot; в stdout, отказ в stderr.

Параметры:
  -o, --output FILE   записываемый файл образа; существующий файл заменяется только
                      готовым новым
  -h, --help          этот текст

Коды завершения: 0 образ записан; 1 проверка отклонила план (ничего не записано);
2 ошибка вызова или файла. Сообщения в stderr.</translation>
    </message>
    <message>
        <source>no output file given (-o IMAGE.bin)</source>
        <translation>не указан выходной файл (-o IMAGE.bin)</translation>
    </message>
</context>
<context>
    <name>ImportCommand</name>
    <message>
        <source>Usage: yalmera-cli import PLAN.csv --settings-from PLAN.ini -o NEW.ini

Makes a channel-plan file from a spreadsheet file of the channel table, as &quot;Импорт CSV&quot;
does: the channels from PLAN.csv, the general settings, &quot;Тип&quot; and &quot;ТипВУ&quot; as
&quot;Чтение файла&quot; reads them from PLAN.ini. The spreadsheet file is UTF-8 (with or
without a byte-order mark) or Windows-1251, &quot;;&quot; between fields, the 18 column captions
in the first row and 1 to 99 channel rows of 18 fields, the flag columns &quot;да&quot; or
&quot;нет&quot;. Every other cell is kept as text, as a plan file keeps it, for &quot;check&quot; to judge;
only what a plan file cannot hold is refused: control characters (line breaks, tabs),
characters outside Windows-1251, bytes that are no UTF-8 in a UTF-8 file, more than 200
characters in a cell. One single quote at the start of a cell is taken away (export puts
it before a text a spreadsheet would run as a formula). This is checked before NEW.ini is
written; a refusal names the spreadsheet file&apos;s row and column.

Options:
  --settings-from FILE   the plan file whose general settings, band and module the new
                         plan takes
  -o, --output FILE      the plan file to write; an existing file is replaced only when
                         the new one is complete
  -h, --help             this text

Exit codes: 0 the plan file was written; 2 usage or file error, a refused spreadsheet
file included (the reason on stderr).</source>
        <translation>Использование: yalmera-cli import PLAN.csv --settings-from PLAN.ini -o NEW.ini

Создаёт файл плана каналов из файла электронной таблицы с таблицей каналов, как
&quot;Импорт CSV&quot;: каналы из PLAN.csv, а общие установки, &quot;Тип&quot; и &quot;ТипВУ&quot; - такие, какими
&quot;Чтение файла&quot; читает их из PLAN.ini. Файл электронной таблицы - в UTF-8 (с меткой
порядка байтов или без неё) или в Windows-1251, &quot;;&quot; между полями, 18 заголовков столбцов
в первой строке и от 1 до 99 строк каналов по 18 полей, в столбцах флагов &quot;да&quot; или
&quot;нет&quot;. Любая другая ячейка хранится как текст, как её хранит файл плана, и оценивает её
&quot;check&quot;; отклоняется только то, чего файл плана хранить не может: управляющие символы
(переводы строк, табуляции), символы вне Windows-1251, байты, не являющиеся UTF-8, в
файле UTF-8, больше 200 символов в ячейке. Одна одиночная кавычка в начале ячейки
убирается (export ставит её перед текстом, который программа электронных таблиц
выполнила бы как формулу). Всё это проверяется до записи NEW.ini; отказ называет строку
и столбец файла электронной таблицы.

Параметры:
  --settings-from FILE   файл плана, общие установки, диапазон и модуль которого берёт
                         новый план
  -o, --output FILE      записываемый файл плана; существующий файл заменяется только
                         готовым новым
  -h, --help             этот текст

Коды завершения: 0 файл плана записан; 2 ошибка вызова или файла, в том числе
отклонённый файл электронной таблицы (причина в stderr).</translation>
    </message>
    <message>
        <source>no spreadsheet file given</source>
        <translation>не указан файл электронной таблицы</translation>
    </message>
    <message>
        <source>no plan file given for the settings (--settings-from PLAN.ini)</source>
        <translation>не указан файл плана для установок (--settings-from PLAN.ini)</translation>
    </message>
    <message>
        <source>no output file given (-o NEW.ini)</source>
        <translation>не указан выходной файл (-o NEW.ini)</translation>
    </message>
</context>
<context>
    <name>PortsCommand</name>
    <message>
        <source>Usage: yalmera-cli ports

Lists the serial ports the system reports, one per line: the name --port takes, the
device, and what the system tells of it (description, maker, USB vendor and product id,
the adapter&apos;s serial number), which tells two USB adapters apart. The station-link
window&apos;s &quot; Другой порт:&quot; list shows the same. The ports COM1 and COM2 name are marked.
Pseudo-terminals (the virtual station&apos;s /dev/pts/N) are not reported by the system:
give their path to --port.

Options:
  -h, --help   this text

Exit codes: 0 listed (also when there is none); 2 usage error.</source>
        <translation>Использование: yalmera-cli ports

Перечисляет последовательные порты, о которых сообщает система, по одному в строке: имя
для --port, устройство и то, что система о нём сообщает (описание, изготовитель, USB-коды
изготовителя и изделия, серийный номер адаптера), - по этому различаются два
USB-адаптера. То же показывает список &quot; Другой порт:&quot; окна связи со станцией. Порты,
которые означают COM1 и COM2, отмечены.
Псевдотерминалы (/dev/pts/N виртуальной станции) система не сообщает: указывайте их путь
в --port.

Параметры:
  -h, --help   этот текст

Коды завершения: 0 список выведен (также когда портов нет); 2 ошибка вызова.</translation>
    </message>
    <message>
        <source>PORT</source>
        <translation>ПОРТ</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <translation>УСТРОЙСТВО</translation>
    </message>
    <message>
        <source>DETAILS</source>
        <translation>СВЕДЕНИЯ</translation>
    </message>
    <message>
        <source>the system reports no serial port</source>
        <translation>система не сообщает ни одного последовательного порта</translation>
    </message>
    <message>
        <source>pseudo-terminals (/dev/pts/N, the virtual station) are not listed: give their path to --port</source>
        <translation>псевдотерминалы (/dev/pts/N, виртуальная станция) не перечисляются: укажите их путь в --port</translation>
    </message>
</context>
<context>
    <name>ProtocolCommand</name>
    <message>
        <source>Usage: yalmera-cli protocol PLAN.ini --serial TEXT -o OUT.docx|OUT.pdf

Reads a channel-plan file as &quot;Чтение файла&quot; does, runs the data check of &quot;Контроль&quot;
on it and, when the plan passes, writes the programming protocol of &quot;Создать протокол&quot;:
title, serial number, the settings lines and the channel table, A4 landscape.

Options:
  --serial TEXT       the station&apos;s serial number, printed as typed (may be empty: &quot;&quot;)
  -o, --output FILE   the document to write; .docx (word processor) or .pdf; an existing
                      file is replaced only when the new one is complete
  -h, --help          this text

Exit codes: 0 the protocol was written; 1 the data check refused the plan (its message on
stderr); 2 usage or file error.</source>
        <translation>Использование: yalmera-cli protocol PLAN.ini --serial TEXT -o OUT.docx|OUT.pdf

Читает файл плана каналов, как &quot;Чтение файла&quot;, выполняет на нём проверку данных
&quot;Контроль&quot; и, если план её прошёл, записывает протокол программирования, как его делает
&quot;Создать протокол&quot;: заголовок, серийный номер, строки установок и таблицу каналов, A4,
альбомная ориентация.

Параметры:
  --serial TEXT       серийный номер станции, печатается как введён (может быть пустым: &quot;&quot;)
  -o, --output FILE   записываемый документ: .docx (текстовый процессор) или .pdf;
                      существующий файл заменяется только готовым новым
  -h, --help          этот текст

Коды завершения: 0 протокол записан; 1 проверка данных отклонила план (её сообщение в
stderr); 2 ошибка вызова или файла.</translation>
    </message>
    <message>
        <source>no serial number given (--serial TEXT)</source>
        <translation>не указан серийный номер (--serial TEXT)</translation>
    </message>
    <message>
        <source>no output file given (-o OUT.docx or -o OUT.pdf)</source>
        <translation>не указан выходной файл (-o OUT.docx или -o OUT.pdf)</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: the output must end in .docx or .pdf</source>
        <translation>«%1»: выходной файл должен оканчиваться на .docx или .pdf</translation>
    </message>
</context>
<context>
    <name>TemplateCommand</name>
    <message>
        <source>Usage: yalmera-cli template [--count N] [--start KHZ] [--offset KHZ] [--band 144-174|30-60]
                            [--module 0..4] -o PLAN.ini

Makes the plan that &quot;Создать шаблон&quot; and &quot;Ok&quot; make and saves it as a channel-plan file
(Windows-1251, CR LF). Prints what it saved: channel count, frequencies, band and module.

Options:
  --count N           channel count, one or two digits, 1 to 99 (default 10)
  --start KHZ         frequency of channel 1 in kHz, comma as decimal separator, on the
                      6,25 kHz grid and inside the band (default: the band&apos;s lower limit,
                      140000 or 30000)
  --offset KHZ        step between channels in kHz, on the 6,25 kHz grid (default 1000);
                      channels past the band&apos;s upper limit are held at the limit
  --band B            144-174 (&quot;Ялмера 4К-17&quot;, default) or 30-60 (&quot;Ялмера 4К-15&quot;);
                      saved as &quot;Тип&quot; 0 or 1
  --module M          additional module 0 to 4, saved as &quot;ТипВУ&quot; (default 0, no module)
  -o, --output FILE   the plan file to write; an existing file is replaced only when the
                      new one is complete
  -h, --help          this text

Exit codes: 0 the plan was saved; 1 the template refused the input; 2 usage or file
error. Messages on stderr.</source>
        <translation>Использование: yalmera-cli template [--count N] [--start KHZ] [--offset KHZ]
                                    [--band 144-174|30-60] [--module 0..4] -o PLAN.ini

Создаёт план, который создают &quot;Создать шаблон&quot; и &quot;Ok&quot;, и сохраняет его в файл плана
каналов (Windows-1251, CR LF). Выводит, что сохранено: число каналов, частоты, диапазон
и модуль.

Параметры:
  --count N           число каналов, одна или две цифры, от 1 до 99 (по умолчанию 10)
  --start KHZ         частота канала 1 в кГц, запятая как десятичный разделитель, на
                      сетке 6,25 кГц и внутри диапазона (по умолчанию нижняя граница
                      диапазона, 140000 или 30000)
  --offset KHZ        шаг между каналами в кГц, на сетке 6,25 кГц (по умолчанию 1000);
                      каналы за верхней границей диапазона остаются на границе
  --band B            144-174 (&quot;Ялмера 4К-17&quot;, по умолчанию) или 30-60 (&quot;Ялмера 4К-15&quot;);
                      сохраняется как &quot;Тип&quot; 0 или 1
  --module M          дополнительный модуль от 0 до 4, сохраняется как &quot;ТипВУ&quot;
                      (по умолчанию 0, нет модуля)
  -o, --output FILE   записываемый файл плана; существующий файл заменяется только
                      готовым новым
  -h, --help          этот текст

Коды завершения: 0 план сохранён; 1 шаблон отклонил ввод; 2 ошибка вызова или файла.
Сообщения в stderr.</translation>
    </message>
    <message>
        <source>no output file given (-o PLAN.ini)</source>
        <translation>не указан выходной файл (-o PLAN.ini)</translation>
    </message>
    <message>
        <source>unknown band &apos;%1&apos; (144-174 or 30-60)</source>
        <translation>неизвестный диапазон «%1» (144-174 или 30-60)</translation>
    </message>
    <message>
        <source>module must be 0 to 4, not &apos;%1&apos;</source>
        <translation>модуль должен быть от 0 до 4, а не «%1»</translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s), %1 to %2 kHz, %3 (%4 MHz, type code %5), module %6, saved to %7</source>
        <translation>
            <numerusform>%n канал, от %1 до %2 кГц, %3 (%4 МГц, код типа %5), модуль %6, сохранено в %7</numerusform>
            <numerusform>%n канала, от %1 до %2 кГц, %3 (%4 МГц, код типа %5), модуль %6, сохранено в %7</numerusform>
            <numerusform>%n каналов, от %1 до %2 кГц, %3 (%4 МГц, код типа %5), модуль %6, сохранено в %7</numerusform>
        </translation>
    </message>
</context>
</TS>

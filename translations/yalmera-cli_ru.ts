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
    <message>
        <source>%1 (%2) and %3 (%4) name the same file; each needs its own</source>
        <translation>%1 (%2) и %3 (%4) называют один и тот же файл; каждому нужен свой</translation>
    </message>
    <message>
        <source>the plan file</source>
        <translation>файл плана</translation>
    </message>
    <message>
        <source>the spreadsheet file</source>
        <translation>файл электронной таблицы</translation>
    </message>
</context>
<context>
    <name>DiffCommand</name>
    <message>
        <source>Settings not compared: %1 and %2 hold only channel tables</source>
        <translation>Установки не сравниваются: %1 и %2 содержат только таблицы каналов</translation>
    </message>
    <message>
        <source>Settings not compared: %1 holds only a channel table</source>
        <translation>Установки не сравниваются: %1 содержит только таблицу каналов</translation>
    </message>
    <message>
        <source>The plans are the same</source>
        <translation>Планы одинаковы</translation>
    </message>
    <message>
        <source>Usage: yalmera-cli diff A.ini B.ini [--text]

Compares two plans field by field and prints every difference in words on stdout: the
settings keys that hold other values (&quot;Тип&quot; and &quot;ТипВУ&quot; among them), the channels only
one plan has, and the cells (flags as &quot;да&quot;/&quot;нет&quot;) of the channels both have, with the
column&apos;s caption and both files&apos; values. Channels are paired by their number
(&quot;№ кан.&quot;), so a channel inserted or removed shows as one, not as every row after it.
By default the plans are compared as stations holding them would give them back, as
&apos;verify&apos; compares a plan with a station: both files are checked as &quot;Контроль&quot; does and
compared by the bytes a station would keep, so a value written another way (140000 for
140000,00, a tone of 1989 for 1990: one byte) is no difference. What no station keeps a
byte for (the serial number, the power values &quot;P_1&quot;..&quot;P_4&quot;) is not compared, and the
output says so once. A plan the check refuses cannot be compared so: its message on
stderr, exit code 1, and --text compares it. Either file may also be a spreadsheet file of
the channel table as &apos;export&apos; writes it (&quot;.csv&quot;, or content that is no plan file); it has
no settings a station could take, so its channels are compared as texts, and the output
says that the settings are not compared.

Options:
  --text       compare the files&apos; texts instead: every key and cell as written
  -h, --help   this text

Exit codes: 0 the plans are the same; 1 they differ, or the check refused a plan; 2 usage
or file error. Messages on stderr.</source>
        <translation>Использование: yalmera-cli diff A.ini B.ini [--text]

Сравнивает два плана поле за полем и выводит каждое различие словами в stdout: ключи
установок с другими значениями (в том числе &quot;Тип&quot; и &quot;ТипВУ&quot;), каналы, которые есть только
в одном плане, и ячейки (флаги как &quot;да&quot;/&quot;нет&quot;) каналов, которые есть в обоих, с заголовком
столбца и значениями обоих файлов. Каналы сопоставляются по номеру (&quot;№ кан.&quot;), поэтому
вставленный или удалённый канал даёт одно различие, а не по различию на каждую следующую
строку. По умолчанию планы сравниваются так, как их вернули бы станции, в которые они
записаны, - как &apos;verify&apos; сравнивает план со станцией: оба файла проверяются, как
&quot;Контроль&quot;, и сравниваются по байтам, которые хранила бы станция, поэтому значение,
записанное иначе (140000 вместо 140000,00, тон 1989 вместо 1990: один байт), различием не
считается. То, для чего в станции нет байта (серийный номер, значения мощности
&quot;P_1&quot;..&quot;P_4&quot;), не сравнивается, и вывод сообщает об этом один раз. План, который проверка
отклоняет, так сравнить нельзя: его сообщение в stderr, код завершения 1, а --text сравнит
его. Любой из файлов может быть также файлом электронной таблицы с таблицей каналов, как его
записывает &apos;export&apos; (&quot;.csv&quot; или содержимое, не являющееся файлом плана); в нём нет
установок, которые могла бы принять станция, поэтому его каналы сравниваются как тексты, и
вывод сообщает, что установки не сравниваются.

Параметры:
  --text       сравнить вместо этого тексты файлов: ключи и ячейки как записаны
  -h, --help   этот текст

Коды завершения: 0 планы одинаковы; 1 они различаются или проверка отклонила план; 2 ошибка
вызова или файла. Сообщения в stderr.</translation>
    </message>
    <message>
        <source>%1 cannot be compared as a station would hold it; &apos;yalmera-cli diff --text&apos; compares the files&apos; texts</source>
        <translation>%1 нельзя сравнить так, как его хранила бы станция; &apos;yalmera-cli diff --text&apos; сравнивает тексты файлов</translation>
    </message>
    <message>
        <source>Not compared (no station keeps a byte for them): %1</source>
        <translation>Не сравниваются (для них в станции нет байтов): %1</translation>
    </message>
</context>
<context>
    <name>ExportCommand</name>
    <message>
        <source>no output file given (-o PLAN.csv)</source>
        <translation>не указан выходной файл (-o PLAN.csv)</translation>
    </message>
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
Prints the channel count and the file it saved.

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
Выводит число каналов и сохранённый файл.

Параметры:
  -o, --output FILE   записываемый файл электронной таблицы; существующий файл
                      заменяется только готовым новым
  -h, --help          этот текст

Коды завершения: 0 файл записан; 2 ошибка вызова или файла.</translation>
    </message>
    <message numerus="yes">
        <source>Channel table (%n channel(s)) saved to %1</source>
        <translation>
            <numerusform>Таблица каналов (%n канал) сохранена в %1</numerusform>
            <numerusform>Таблица каналов (%n канала) сохранена в %1</numerusform>
            <numerusform>Таблица каналов (%n каналов) сохранена в %1</numerusform>
        </translation>
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
written; a refusal names the spreadsheet file&apos;s row and column. Prints the channel count
and the files it took and saved.

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
и столбец файла электронной таблицы. Выводит число каналов, взятые файлы и сохранённый файл.

Параметры:
  --settings-from FILE   файл плана, общие установки, диапазон и модуль которого берёт
                         новый план
  -o, --output FILE      записываемый файл плана; существующий файл заменяется только
                         готовым новым
  -h, --help             этот текст

Коды завершения: 0 файл плана записан; 2 ошибка вызова или файла, в том числе
отклонённый файл электронной таблицы (причина в stderr).</translation>
    </message>
    <message numerus="yes">
        <source>Plan (%n channel(s) from %1, the settings from %2) saved to %3</source>
        <translation>
            <numerusform>План (%n канал из %1, установки из %2) сохранён в %3</numerusform>
            <numerusform>План (%n канала из %1, установки из %2) сохранён в %3</numerusform>
            <numerusform>План (%n каналов из %1, установки из %2) сохранён в %3</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PlanDifferences</name>
    <message>
        <source>settings %1: %2 %3, %4 %5</source>
        <translation>установки %1: %2 %3, %4 %5</translation>
    </message>
    <message>
        <source>channel %1, %2: %3 %4, %5 %6</source>
        <translation>канал %1, %2: %3 %4, %5 %6</translation>
    </message>
    <message>
        <source>channel %1: only in %2</source>
        <translation>канал %1 есть только: %2</translation>
    </message>
</context>
<context>
    <name>PortsCommand</name>
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
        <source>latency timer %1 ms</source>
        <translation>таймер задержки %1 мс</translation>
    </message>
    <message>
        <source>the system reports no serial port</source>
        <translation>система не сообщает ни одного последовательного порта</translation>
    </message>
    <message>
        <source>pseudo-terminals (/dev/pts/N, the virtual station) are not listed: give their path to --port</source>
        <translation>псевдотерминалы (/dev/pts/N, виртуальная станция) не перечисляются: укажите их путь в --port</translation>
    </message>
    <message>
        <source>Usage: yalmera-cli ports

Lists the serial ports the system reports, one per line: the name --port takes, the
device, and what the system tells of it (description, maker, USB vendor and product id,
the adapter&apos;s serial number), which tells two USB adapters apart. The station-link
window&apos;s &quot; Другой порт:&quot; list shows the same. The ports that COM1 and COM2 stand for are
marked with those names. For a USB adapter whose latency timer the system tells (the
sysfs latency_timer on Linux, FTDI&apos;s D2XX library on Windows) it is shown too: each
reply of a write waits that long. Pseudo-terminals (the virtual station&apos;s /dev/pts/N)
are not reported by the system: give their path to --port.

Options:
  -h, --help   this text

Exit codes: 0 listed (also when there is none); 2 usage error.</source>
        <translation>Использование: yalmera-cli ports

Перечисляет последовательные порты, о которых сообщает система, по одному в строке: имя
для --port, устройство и то, что система о нём сообщает (описание, изготовитель, USB-коды
изготовителя и изделия, серийный номер адаптера), - по этому различаются два
USB-адаптера. То же показывает список &quot; Другой порт:&quot; окна связи со станцией. Порты,
которые означают COM1 и COM2, отмечены этими именами. Для USB-адаптера, таймер задержки
которого сообщает система (latency_timer в sysfs в Linux, библиотека D2XX фирмы FTDI в
Windows), показан и он: столько ждет каждый ответ при записи.
Псевдотерминалы (/dev/pts/N виртуальной станции) система не сообщает: указывайте их путь
в --port.

Параметры:
  -h, --help   этот текст

Коды завершения: 0 список выведен (также когда портов нет); 2 ошибка вызова.</translation>
    </message>
</context>
<context>
    <name>ProtocolCommand</name>
    <message>
        <source>no serial number given: --serial TEXT, or a plan file that holds &quot;Серийный номер&quot;</source>
        <translation>не указан серийный номер: --serial TEXT или файл плана, в котором есть &quot;Серийный номер&quot;</translation>
    </message>
    <message>
        <source>no output file given (-o OUT.docx or -o OUT.pdf)</source>
        <translation>не указан выходной файл (-o OUT.docx или -o OUT.pdf)</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: the output must end in .docx or .pdf</source>
        <translation>«%1»: выходной файл должен оканчиваться на .docx или .pdf</translation>
    </message>
    <message>
        <source>Usage: yalmera-cli protocol PLAN.ini [--serial TEXT] -o OUT.docx|OUT.pdf

Reads a channel-plan file as &quot;Чтение файла&quot; does, runs the data check of &quot;Контроль&quot;
on it and, when the plan passes, writes the programming protocol of &quot;Создать протокол&quot;:
title, serial number, the settings lines and the channel table, A4 landscape. Prints what
it saved: the serial number, the channel count and the document.

Options:
  --serial TEXT       the station&apos;s serial number, printed as typed (may be empty: &quot;&quot;);
                      without it the plan file&apos;s &quot;Серийный номер&quot; (a plan read from a
                      station holds it)
  -o, --output FILE   the document to write; .docx (word processor) or .pdf; an existing
                      file is replaced only when the new one is complete
  -h, --help          this text

Exit codes: 0 the protocol was written; 1 the data check refused the plan (its message on
stderr); 2 usage or file error.</source>
        <translation>Использование: yalmera-cli protocol PLAN.ini [--serial TEXT] -o OUT.docx|OUT.pdf

Читает файл плана каналов, как &quot;Чтение файла&quot;, выполняет на нём проверку данных
&quot;Контроль&quot; и, если план её прошёл, записывает протокол программирования, как его делает
&quot;Создать протокол&quot;: заголовок, серийный номер, строки установок и таблицу каналов, A4,
альбомная ориентация. Выводит, что сохранено: серийный номер, число каналов и документ.

Параметры:
  --serial TEXT       серийный номер станции, печатается как введён (может быть пустым: &quot;&quot;);
                      без него &quot;Серийный номер&quot; из файла плана (его хранит план,
                      прочитанный из станции)
  -o, --output FILE   записываемый документ: .docx (текстовый процессор) или .pdf;
                      существующий файл заменяется только готовым новым
  -h, --help          этот текст

Коды завершения: 0 протокол записан; 1 проверка данных отклонила план (её сообщение в
stderr); 2 ошибка вызова или файла.</translation>
    </message>
    <message numerus="yes">
        <source>Protocol (serial number &quot;%1&quot;, %n channel(s)) saved to %2</source>
        <translation>
            <numerusform>Протокол (серийный номер &quot;%1&quot;, %n канал) сохранён в %2</numerusform>
            <numerusform>Протокол (серийный номер &quot;%1&quot;, %n канала) сохранён в %2</numerusform>
            <numerusform>Протокол (серийный номер &quot;%1&quot;, %n каналов) сохранён в %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReadCommand</name>
    <message>
        <source>Usage: yalmera-cli read --port PORT -o PLAN.ini [--band 144-174|30-60] [--trace FILE]
                        [--journal FILE]
       yalmera-cli read --port PORT --port PORT ... -o DIR [--band ...] [--trace FILE]
                        [--journal FILE]

Reads the plan a station holds, as &quot;Чтение данных &quot; does, and saves it as a channel-plan
file whose &quot;Тип&quot; and &quot;ТипВУ&quot; are the station&apos;s band code and module type. The
frequencies are decoded with the band the station&apos;s code names (0: 144-174 MHz, 1 or 2:
30-60 MHz); only a station whose code names no band is decoded with the band given
(the band selected in the program), 144-174 MHz unless told otherwise. Prints the band
found. Nothing is written when the read fails. The output file is checked before the
read begins; a file it replaces is kept as PLAN.ini.bak, or when that is taken as
PLAN.ini.2.bak, .3.bak, ... (a .bak is never replaced). Every read adds a line to the
journal, and a plan read is also kept in the backups folder beside it.
Ctrl-C (or SIGTERM, SIGHUP) stops the read at its next byte.
With several ports the stations are read at once, each plan saved in the folder DIR
(made when missing) as SERIAL.ini, the station&apos;s serial number, or when that is taken
as SERIAL_2.ini, _3, ... (nothing is replaced); one line per station shows the progress
and a summary line per station (port, serial, outcome, time) follows.

Options:
  --port PORT          COM1, COM2 (the first and second serial port), a port name such
                       as ttyUSB0 (see &apos;yalmera-cli ports&apos;), or a device path such as
                       /dev/pts/3
  -o, --output FILE    the plan file to write (several ports: the folder)
  --band BAND          144-174 (default) or 30-60, for a station whose code names
                       no band
  --trace FILE         record every byte sent and received in FILE (replaced); with
                       several ports each station&apos;s in FILE with the port&apos;s name before
                       the extension (trace.txt: trace-ttyUSB0.txt)
  --journal FILE       the journal to add to (default: journal.csv in the user&apos;s
                       application-data folder, or $YALMERA_JOURNAL)
  -h, --help           this text

Exit codes: 0 the plan was saved; 1 the station&apos;s data were refused (none or more than
99 channels, a code in no list); 2 usage or file error; 3 station link failure (port,
silence, a station still sending when the read begins); 4 saved, but the journal,
backup or trace could not be written; 130 stopped by Ctrl-C (143 by SIGTERM, 129 by
SIGHUP). With several ports the worst station&apos;s: %1.
Messages on stderr.</source>
        <translation>Использование: yalmera-cli read --port PORT -o PLAN.ini [--band 144-174|30-60]
                                [--trace FILE] [--journal FILE]
               yalmera-cli read --port PORT --port PORT ... -o DIR [--band ...]
                                [--trace FILE] [--journal FILE]

Считывает план, который хранит станция, как &quot;Чтение данных &quot;, и сохраняет его в файл плана
каналов, в котором &quot;Тип&quot; и &quot;ТипВУ&quot; - код диапазона и тип модуля станции. Частоты
декодируются с диапазоном, который называет код станции (0: 144-174 МГц, 1 или 2: 30-60
МГц); только станция, код которой не называет диапазона, декодируется с заданным
диапазоном (выбранным в программе), 144-174 МГц, если не указано иное. Выводит найденный
диапазон. Если чтение не удалось, ничего не записывается. Выходной файл проверяется до
начала чтения; заменяемый файл сохраняется как PLAN.ini.bak, а если это имя занято, как
PLAN.ini.2.bak, .3.bak, ... (.bak никогда не заменяется). Каждое чтение добавляет строку в
журнал, а считанный план сохраняется ещё и в папке резервных копий рядом с ним.
Ctrl-C (или SIGTERM, SIGHUP) останавливает чтение на следующем байте.
При нескольких портах станции считываются сразу, план каждой сохраняется в папке DIR
(создаётся, если её нет) как SERIAL.ini, по серийному номеру станции, а если это имя
занято, как SERIAL_2.ini, _3, ... (ничего не заменяется); ход обмена показывает строка на
станцию, за ним следует строка сводки на станцию (порт, номер, итог, время).

Параметры:
  --port PORT          COM1, COM2 (первый и второй последовательный порт), имя порта,
                       например ttyUSB0 (см. &apos;yalmera-cli ports&apos;), или путь к
                       устройству, например /dev/pts/3
  -o, --output FILE    записываемый файл плана (при нескольких портах - папка)
  --band BAND          144-174 (по умолчанию) или 30-60, для станции, код которой не
                       называет диапазона
  --trace FILE         записывать каждый переданный и принятый байт в FILE (файл
                       заменяется); при нескольких портах трассировка каждой станции в
                       FILE с именем порта перед расширением (trace.txt: trace-ttyUSB0.txt)
  --journal FILE       журнал, в который добавлять строки (по умолчанию journal.csv в
                       папке данных приложений пользователя или $YALMERA_JOURNAL)
  -h, --help           этот текст

Коды завершения: 0 план сохранён; 1 данные станции отклонены (нет каналов или больше 99,
код не из списка); 2 ошибка вызова или файла; 3 сбой связи со станцией (порт, молчание,
станция ещё передаёт, когда чтение начинается); 4 сохранено, но журнал, резервную копию
или трассировку не удалось записать; 130 остановлено по Ctrl-C (143 по SIGTERM, 129 по
SIGHUP). При нескольких портах - код худшей станции: %1.
Сообщения в stderr.</translation>
    </message>
    <message>
        <source>read, not saved: %1</source>
        <translation>считана, план не сохранён: %1</translation>
    </message>
    <message>
        <source>saved as %1</source>
        <translation>план сохранён как %1</translation>
    </message>
    <message>
        <source>no output file given (-o PLAN.ini)</source>
        <translation>не указан выходной файл (-o PLAN.ini)</translation>
    </message>
    <message>
        <source>unknown band &apos;%1&apos; (144-174 or 30-60)</source>
        <translation>неизвестный диапазон «%1» (144-174 или 30-60)</translation>
    </message>
    <message numerus="yes">
        <source>Station %1: %2 (%3 MHz, type code %4%5), %n channel(s) saved to %6</source>
        <translation>
            <numerusform>Станция %1: %2 (%3 МГц, код типа %4%5), %n канал сохранён в %6</numerusform>
            <numerusform>Станция %1: %2 (%3 МГц, код типа %4%5), %n канала сохранено в %6</numerusform>
            <numerusform>Станция %1: %2 (%3 МГц, код типа %4%5), %n каналов сохранено в %6</numerusform>
        </translation>
    </message>
    <message>
        <source>, which names no band: decoded as selected</source>
        <translation>, который не называет диапазона: декодировано с выбранным</translation>
    </message>
</context>
<context>
    <name>StationFleet</name>
    <message>
        <source>%1 s</source>
        <translation>%L1 с</translation>
    </message>
    <message>
        <source>no port given (--port PORT)</source>
        <translation>не указан порт (--port PORT)</translation>
    </message>
    <message>
        <source>a stop, then %1</source>
        <translation>остановка, затем %1</translation>
    </message>
    <message>
        <source>port %1 is given twice; each station needs its own</source>
        <translation>порт %1 указан дважды; каждой станции нужен свой</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Серийный номер</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Итог</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
</context>
<context>
    <name>StationProgress</name>
    <message>
        <source>Writing</source>
        <translation>Запись</translation>
    </message>
    <message>
        <source>Verifying</source>
        <translation>Проверка</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Чтение</translation>
    </message>
</context>
<context>
    <name>StationRecords</name>
    <message>
        <source>the journal</source>
        <translation>журнал</translation>
    </message>
    <message>
        <source>the trace was not written completely: %1</source>
        <translation>трассировка записана не полностью: %1</translation>
    </message>
    <message>
        <source>the journal %1 is held by another program; waiting for it up to %2 s (Ctrl-C stops the wait)</source>
        <translation>журнал %1 занят другой программой; ожидание до %2 с (Ctrl-C прерывает ожидание)</translation>
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
<context>
    <name>Usage</name>
    <message>
        <source>make a template plan and save it as a plan file</source>
        <translation>создать план по шаблону и сохранить его в файл плана</translation>
    </message>
    <message>
        <source>run the data check on a plan file</source>
        <translation>выполнить проверку данных файла плана</translation>
    </message>
    <message>
        <source>write the byte stream a checked plan sends to the station</source>
        <translation>записать поток байтов, который проверенный план передаёт в станцию</translation>
    </message>
    <message>
        <source>check a plan file and write it into a station</source>
        <translation>проверить файл плана и записать его в станцию</translation>
    </message>
    <message>
        <source>read the plan a station holds and save it as a plan file</source>
        <translation>считать план, который хранит станция, и сохранить его в файл плана</translation>
    </message>
    <message>
        <source>read a station and compare it with a plan file, writing nothing</source>
        <translation>считать станцию и сравнить её с файлом плана, ничего не записывая</translation>
    </message>
    <message>
        <source>make the programming protocol (.docx or .pdf) of a plan file</source>
        <translation>создать протокол программирования (.docx или .pdf) файла плана</translation>
    </message>
    <message>
        <source>write the channel table of a plan file as a CSV spreadsheet file</source>
        <translation>записать таблицу каналов файла плана в файл электронной таблицы CSV</translation>
    </message>
    <message>
        <source>make a plan file from a CSV spreadsheet file and another plan&apos;s settings</source>
        <translation>создать файл плана из файла электронной таблицы CSV и установок другого плана</translation>
    </message>
    <message>
        <source>list the serial ports with their description, maker and USB ids</source>
        <translation>перечислить последовательные порты с описанием, изготовителем и USB-кодами</translation>
    </message>
    <message>
        <source>Usage: yalmera-cli COMMAND [OPTIONS]

Makes and checks channel plans of &quot;Ялмера&quot; stations, writes them into a station and reads
stations back, as the desktop program yalmera does, one command per run.

Commands:
</source>
        <translation>Использование: yalmera-cli COMMAND [OPTIONS]

Создаёт и проверяет планы каналов станций &quot;Ялмера&quot;, записывает их в станцию и считывает
станции, как настольная программа yalmera, по одной команде за запуск.

Команды:
</translation>
    </message>
    <message>
        <source>
Options:
  -h, --help      this text; &apos;yalmera-cli COMMAND --help&apos; explains a command&apos;s options
  -v, --version   the program&apos;s version

Exit codes: 0 success; 1 refused by the station&apos;s rules; 2 usage or file error; 3 station
link failure; 4 done, but its journal line, backup, trace or protocol not written; 130
stopped by Ctrl-C, 143 by SIGTERM, 129 by SIGHUP.</source>
        <translation>
Параметры:
  -h, --help      этот текст; &apos;yalmera-cli COMMAND --help&apos; объясняет параметры команды
  -v, --version   версия программы

Коды завершения: 0 успех; 1 отказ по правилам станции; 2 ошибка вызова или файла; 3 сбой
связи со станцией; 4 выполнено, но строка журнала, резервная копия, трассировка или
протокол не записаны; 130 остановлено по Ctrl-C, 143 по SIGTERM, 129 по SIGHUP.</translation>
    </message>
    <message>
        <source>yalmera-cli: no command given</source>
        <translation>yalmera-cli: не указана команда</translation>
    </message>
    <message>
        <source>yalmera-cli: unknown command &apos;%1&apos;</source>
        <translation>yalmera-cli: неизвестная команда «%1»</translation>
    </message>
    <message>
        <source>yalmera-cli %1: &quot;%2&quot; is not UTF-8 text (a name in Windows-1251?): it would name another file than the one meant, so nothing is done. Rename the file to a UTF-8 name, e.g. with convmv -f cp1251 -t utf8.</source>
        <translation>yalmera-cli %1: &quot;%2&quot; - не текст UTF-8 (имя в Windows-1251?): оно назвало бы не тот файл, который имеется в виду, поэтому ничего не сделано. Переименуйте файл в имя UTF-8, например командой convmv -f cp1251 -t utf8.</translation>
    </message>
    <message>
        <source>compare two plan files as stations would hold them (--text: their texts)</source>
        <translation>сравнить два файла плана так, как их хранили бы станции (--text: их тексты)</translation>
    </message>
</context>
<context>
    <name>VerifyCommand</name>
    <message>
        <source>Usage: yalmera-cli verify PLAN.ini --port PORT [--port PORT ...] [--trace FILE]
                          [--journal FILE]

Reads each station, as &quot;Чтение данных &quot; does, and compares what it holds with the plan
file, field by field, without writing anything: the plan is read and checked as
&quot;Контроль&quot; does, and both sides are compared as the station&apos;s bytes say them, so a value
written another way in the file (145000 for 145000,000) is no difference. What the
station keeps no byte for (the serial number, the power values &quot;P_1&quot;..&quot;P_4&quot;, lines that
are no key line) is not compared, and the output says so once. Every difference is
printed in words on stdout: a settings key, or a channel and the column&apos;s caption, with
the plan&apos;s value and the station&apos;s. Several ports are read at once; a summary line per
station follows. Each read adds a line &quot;сверка&quot; to the journal (&quot;не совпадает&quot; and the
differences when the station differs) and keeps what the station holds in the backups
folder beside it. Ctrl-C (or SIGTERM, SIGHUP) stops every read at its next byte.

Options:
  --port PORT       COM1, COM2, a port name such as ttyUSB0 (see &apos;yalmera-cli ports&apos;) or a
                    device path; repeated for several stations
  --trace FILE      record every byte sent and received in FILE (replaced); with several
                    ports each station&apos;s in FILE with the port&apos;s name before the
                    extension (trace.txt: trace-ttyUSB0.txt)
  --journal FILE    the journal to add to (default: journal.csv in the user&apos;s
                    application-data folder, or $YALMERA_JOURNAL)
  -h, --help        this text

Exit codes: 0 every station holds the plan; 1 a station differs, or the check refused the
plan; 2 usage or file error (nothing read); 3 station link failure; 4 compared, but the
journal, backup or trace could not be written; 130 stopped by Ctrl-C (143 by SIGTERM,
129 by SIGHUP). With several ports the worst station&apos;s: %1.
Messages on stderr.</source>
        <translation>Использование: yalmera-cli verify PLAN.ini --port PORT [--port PORT ...] [--trace FILE]
                                  [--journal FILE]

Считывает каждую станцию, как &quot;Чтение данных &quot;, и сравнивает то, что она хранит, с файлом
плана поле за полем, ничего не записывая: план читается и проверяется, как &quot;Контроль&quot;, а
обе стороны сравниваются так, как их выражают байты станции, поэтому значение, записанное
в файле иначе (145000 вместо 145000,000), различием не считается. То, для чего в станции
нет байта (серийный номер, значения мощности &quot;P_1&quot;..&quot;P_4&quot;, строки, не являющиеся строками
ключей), не сравнивается, и вывод сообщает об этом один раз. Каждое различие выводится
словами в stdout: ключ установок или канал и заголовок столбца, со значением плана и
значением станции. Несколько портов считываются сразу; за ними следует строка сводки на
станцию. Каждое чтение добавляет в журнал строку &quot;сверка&quot; (&quot;не совпадает&quot; и различия, если
станция отличается) и сохраняет то, что хранит станция, в папке резервных копий рядом с
ним. Ctrl-C (или SIGTERM, SIGHUP) останавливает каждое чтение на следующем байте.

Параметры:
  --port PORT       COM1, COM2, имя порта, например ttyUSB0 (см. &apos;yalmera-cli ports&apos;), или
                    путь к устройству; повторяется для нескольких станций
  --trace FILE      записывать каждый переданный и принятый байт в FILE (файл заменяется);
                    при нескольких портах трассировка каждой станции в FILE с именем
                    порта перед расширением (trace.txt: trace-ttyUSB0.txt)
  --journal FILE    журнал, в который добавлять строки (по умолчанию journal.csv в папке
                    данных приложений пользователя или $YALMERA_JOURNAL)
  -h, --help        этот текст

Коды завершения: 0 каждая станция хранит план; 1 станция отличается или проверка
отклонила план; 2 ошибка вызова или файла (ничего не считано); 3 сбой связи со станцией;
4 сравнено, но журнал, резервную копию или трассировку не удалось записать; 130
остановлено по Ctrl-C (143 по SIGTERM, 129 по SIGHUP). При нескольких портах - код худшей
станции: %1.
Сообщения в stderr.</translation>
    </message>
    <message>
        <source>differs (%1)</source>
        <translation>отличается (%1)</translation>
    </message>
    <message>
        <source>holds the plan</source>
        <translation>хранит план</translation>
    </message>
    <message>
        <source>%1: holds the plan</source>
        <translation>%1: хранит план</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n difference(s):</source>
        <translation>
            <numerusform>%1: %n различие:</numerusform>
            <numerusform>%1: %n различия:</numerusform>
            <numerusform>%1: %n различий:</numerusform>
        </translation>
    </message>
    <message>
        <source>plan</source>
        <translation>план</translation>
    </message>
    <message>
        <source>station</source>
        <translation>станция</translation>
    </message>
    <message>
        <source>Not compared (the station keeps no byte for them): %1</source>
        <translation>Не сравниваются (для них в станции нет байтов): %1</translation>
    </message>
</context>
<context>
    <name>WriteCommand</name>
    <message>
        <source>--serial names one station; give each port its own as --port PORT=SERIAL</source>
        <translation>--serial задаёт номер одной станции; укажите номер каждого порта как --port PORT=SERIAL</translation>
    </message>
    <message>
        <source>--protocol needs the serial number (--serial S)</source>
        <translation>для --protocol нужен серийный номер (--serial S)</translation>
    </message>
    <message>
        <source>--protocol needs each station&apos;s serial number: --verify (as the station reports it) or --port PORT=SERIAL</source>
        <translation>для --protocol нужен серийный номер каждой станции: --verify (как его сообщает станция) или --port PORT=SERIAL</translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s) written, %1 bytes acknowledged</source>
        <translation>
            <numerusform>записан %n канал, подтверждено байтов: %1</numerusform>
            <numerusform>записано %n канала, подтверждено байтов: %1</numerusform>
            <numerusform>записано %n каналов, подтверждено байтов: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>the station holds a different plan than was written:</source>
        <translation>станция хранит не тот план, который был записан:</translation>
    </message>
    <message>
        <source>Verified: station %1 holds the plan written</source>
        <translation>Проверено: станция %1 хранит записанный план</translation>
    </message>
    <message>
        <source>Protocol saved to %1</source>
        <translation>Протокол сохранён в %1</translation>
    </message>
    <message>
        <source>%1: the station holds a different plan than was written:</source>
        <translation>%1: станция хранит не тот план, который был записан:</translation>
    </message>
    <message>
        <source>, protocol not saved</source>
        <translation>, протокол не сохранён</translation>
    </message>
    <message>
        <source>written, but holds another plan</source>
        <translation>записана, но хранит другой план</translation>
    </message>
    <message>
        <source>written and verified</source>
        <translation>записана и проверена</translation>
    </message>
    <message>
        <source>written</source>
        <translation>записана</translation>
    </message>
    <message>
        <source>Usage: yalmera-cli write PLAN.ini --port PORT [--verify] [--serial S [--protocol DIR]]
                         [--trace FILE] [--journal FILE]
       yalmera-cli write PLAN.ini --port PORT[=S] --port PORT[=S] ... [--verify]
                         [--protocol DIR] [--trace FILE] [--journal FILE]

Reads a channel-plan file as &quot;Чтение файла&quot; does, runs the data check of &quot;Контроль&quot;
and, when the plan passes, writes its image into the station as &quot;Запись данных &quot; does,
byte by byte, each acknowledged by the station. Progress is shown on stderr. The write
and the read of --verify each add a line to the journal; the plan read back is kept in
the backups folder beside it. Ctrl-C (or SIGTERM, SIGHUP) stops the write at its next
byte. A station gives up a broken write after a second of silence: until then the
next write or read on the port waits (up to 1.25 s after the broken write&apos;s last byte).

Several --port options write the same plan into every station at once, each on its
own port with its own journal lines, trace and protocol; a station that fails stops
none of the others, and Ctrl-C stops all of them at their next byte. Progress is a line
per station (redrawn in place on a terminal, a line per step otherwise); at the end a
summary line per station on stdout: port, serial number, outcome, time. PORT=S gives
the station&apos;s serial number; without it the serial the station reports to --verify
names its protocol.

Options:
  --port PORT       COM1, COM2 (the first and second serial port), a port name such as
                    ttyUSB0 (see &apos;yalmera-cli ports&apos;), or a device path such as /dev/pts/3;
                    PORT=S also gives the station&apos;s serial number; repeated for several
                    stations
  --verify          read the station back afterwards and compare it with what was written
  --serial S        the station&apos;s serial number, for the journal and the protocol (one
                    station only)
  --protocol DIR    once written (and verified), save the protocol &quot;Протокол S.docx&quot;
                    in DIR (made when missing; an earlier protocol gets no overwrite,
                    the new one a number); needs the serial number: --serial, PORT=S,
                    or with several ports --verify
  --trace FILE      record every byte sent and received in FILE (replaced); with several
                    ports each station&apos;s in FILE with the port&apos;s name (the last part of
                    its path) before the extension: trace.txt gives trace-ttyUSB0.txt
  --journal FILE    the journal to add to (default: journal.csv in the user&apos;s
                    application-data folder, or $YALMERA_JOURNAL)
  -h, --help        this text

Exit codes: 0 written (and verified, protocol saved); 1 the check refused the plan; 2
usage or file error (nothing sent); 3 station link failure (port, silence, a station
still sending when the write begins, a station holding something else after --verify);
4 written, but the journal, backup, trace or protocol could not be written; 130 stopped by
Ctrl-C (143 by SIGTERM, 129 by SIGHUP).
With several ports the worst station&apos;s: %1.
Messages on stderr.</source>
        <translation>Использование: yalmera-cli write PLAN.ini --port PORT [--verify] [--serial S [--protocol DIR]]
                                 [--trace FILE] [--journal FILE]
               yalmera-cli write PLAN.ini --port PORT[=S] --port PORT[=S] ... [--verify]
                                 [--protocol DIR] [--trace FILE] [--journal FILE]

Читает файл плана каналов, как &quot;Чтение файла&quot;, выполняет проверку данных &quot;Контроль&quot; и,
если план её прошёл, записывает его образ в станцию, как &quot;Запись данных &quot;, байт за байтом,
каждый с подтверждением станции. Ход записи показывается в stderr. Запись и чтение по
--verify добавляют каждое по строке в журнал; считанный обратно план сохраняется в папке
резервных копий рядом с ним. Ctrl-C (или SIGTERM, SIGHUP) останавливает запись на
следующем байте. Станция оставляет прерванную запись после секунды молчания: до тех пор
следующая запись или чтение через этот порт ждёт (до 1,25 с после последнего байта
прерванной записи).

Несколько параметров --port записывают один и тот же план во все станции сразу, каждую
через свой порт, со своими строками журнала, трассировкой и протоколом; станция, обмен с
которой не удался, не останавливает остальные, а Ctrl-C останавливает их все на следующем
байте. Ход записи - строка на станцию (перерисовывается на месте в терминале, иначе
строка на шаг); в конце строка сводки на станцию в stdout: порт, серийный номер, итог,
время. PORT=S задаёт серийный номер станции; без него протокол называется по серийному
номеру, который станция сообщает при --verify.

Параметры:
  --port PORT       COM1, COM2 (первый и второй последовательный порт), имя порта,
                    например ttyUSB0 (см. &apos;yalmera-cli ports&apos;), или путь к устройству,
                    например /dev/pts/3; PORT=S задаёт также серийный номер станции;
                    повторяется для нескольких станций
  --verify          после записи считать станцию и сравнить с записанным
  --serial S        серийный номер станции для журнала и протокола (только для одной
                    станции)
  --protocol DIR    после записи (и проверки) сохранить протокол &quot;Протокол S.docx&quot; в DIR
                    (папка создаётся, если её нет; прежний протокол не перезаписывается,
                    новый получает номер); нужен серийный номер: --serial, PORT=S или,
                    при нескольких портах, --verify
  --trace FILE      записывать каждый переданный и принятый байт в FILE (файл
                    заменяется); при нескольких портах трассировка каждой станции в FILE
                    с именем порта (последней частью его пути) перед расширением:
                    trace.txt даёт trace-ttyUSB0.txt
  --journal FILE    журнал, в который добавлять строки (по умолчанию journal.csv в папке
                    данных приложений пользователя или $YALMERA_JOURNAL)
  -h, --help        этот текст

Коды завершения: 0 записано (и проверено, протокол сохранён); 1 проверка отклонила план;
2 ошибка вызова или файла (ничего не передано); 3 сбой связи со станцией (порт, молчание,
станция ещё передаёт, когда запись начинается, станция хранит другое после --verify);
4 записано, но журнал, резервную копию, трассировку или протокол не удалось записать; 130
остановлено по Ctrl-C (143 по SIGTERM, 129 по SIGHUP). При нескольких портах - код худшей
станции: %1.
Сообщения в stderr.</translation>
    </message>
</context>
</TS>

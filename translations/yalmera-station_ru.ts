<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>StationProgram</name>
    <message>
        <source>Usage: yalmera-station (--pty | --port DEV) [OPTIONS]

A simulated station: acknowledges every byte of a write (command 0x14), keeps the plan it
received and answers the read command 0x1E with the plan it holds. Runs until it is
terminated (SIGTERM, SIGINT, SIGHUP) or, with --stdin-quit, its standard input closes.

Options:
  --pty              create a pseudo-terminal; its path is the first line of output
  --port DEV         serve an existing serial device
  --image FILE       hold the plan of this write stream file at start
  --serial HEX6      serial number, up to six hexadecimal digits (default 012345)
  --silent-after N   send nothing after the first N bytes
  --reply-delay MS   wait MS milliseconds before each answer
  --latency-timer MS
                     hand answers over only every MS milliseconds, as a USB-serial
                     adapter&apos;s latency timer does
  --pace             receive and send at real 1200-baud byte times
  --abandon-after MS
                     give up a write paused longer than MS milliseconds (default 1000)
  --stdin-quit       end when standard input closes
  -h, --help         this text
  -v, --version      the program&apos;s version

Exit codes: 0 ended as asked; 2 usage or file error, or the line failed. Messages on
stderr.</source>
        <translation>Использование: yalmera-station (--pty | --port DEV) [ПАРАМЕТРЫ]

Имитация станции: подтверждает каждый байт записи (команда 0x14), хранит принятый план
и отвечает на команду чтения 0x1E хранимым планом. Работает, пока её не завершат
(SIGTERM, SIGINT, SIGHUP) или, с --stdin-quit, пока не закроется её стандартный ввод.

Параметры:
  --pty              создать псевдотерминал; его путь - первая строка вывода
  --port DEV         обслуживать существующее последовательное устройство
  --image FILE       хранить с начала план из этого файла потока записи
  --serial HEX6      серийный номер, до шести шестнадцатеричных цифр (по умолчанию 012345)
  --silent-after N   ничего не передавать после первых N байтов
  --reply-delay MS   ждать MS миллисекунд перед каждым ответом
  --latency-timer MS
                     отдавать ответы только раз в MS миллисекунд, как таймер
                     задержки адаптера USB-COM
  --pace             принимать и передавать байты за их настоящее время при 1200 бод
  --abandon-after MS
                     бросить запись, остановившуюся дольше чем на MS миллисекунд
                     (по умолчанию 1000)
  --stdin-quit       завершиться, когда закроется стандартный ввод
  -h, --help         этот текст
  -v, --version      версия программы

Коды завершения: 0 завершена по требованию; 2 ошибка вызова или файла либо отказ линии.
Сообщения в stderr.</translation>
    </message>
    <message>
        <source>Try &apos;yalmera-station --help&apos;.</source>
        <translation>Подробнее: &apos;yalmera-station --help&apos;.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos; (see --help)</source>
        <translation>лишний аргумент «%1» (см. --help)</translation>
    </message>
    <message>
        <source>give exactly one of --pty and --port DEV (see --help)</source>
        <translation>укажите ровно одно из --pty и --port DEV (см. --help)</translation>
    </message>
    <message>
        <source>--serial takes up to six hexadecimal digits, not &apos;%1&apos;</source>
        <translation>--serial принимает до шести шестнадцатеричных цифр, а не «%1»</translation>
    </message>
    <message>
        <source>--silent-after takes a byte count</source>
        <translation>--silent-after принимает число байтов</translation>
    </message>
    <message>
        <source>--reply-delay takes milliseconds</source>
        <translation>--reply-delay принимает миллисекунды</translation>
    </message>
    <message>
        <source>--latency-timer takes milliseconds</source>
        <translation>--latency-timer принимает миллисекунды</translation>
    </message>
    <message>
        <source>--abandon-after takes milliseconds</source>
        <translation>--abandon-after принимает миллисекунды</translation>
    </message>
    <message>
        <source>%1: larger than a write stream (at most %2 bytes)</source>
        <translation>%1: больше потока записи (не более %2 байтов)</translation>
    </message>
</context>
<context>
    <name>StationServer</name>
    <message>
        <source>the line was closed</source>
        <translation>линия закрыта</translation>
    </message>
    <message>
        <source>the line failed</source>
        <translation>отказ линии</translation>
    </message>
</context>
<context>
    <name>VirtualStation</name>
    <message>
        <source>a write stream starts with the byte 0x14</source>
        <translation>поток записи начинается с байта 0x14</translation>
    </message>
    <message>
        <source>a write stream has a header of 26 bytes</source>
        <translation>у потока записи заголовок из 26 байтов</translation>
    </message>
    <message>
        <source>a station holds at most 99 channels</source>
        <translation>станция хранит не более 99 каналов</translation>
    </message>
    <message>
        <source>the header announces %1 bytes, the file holds %2</source>
        <translation>заголовок объявляет байтов: %1, в файле их: %2</translation>
    </message>
</context>
</TS>

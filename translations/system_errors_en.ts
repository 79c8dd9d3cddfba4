<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>SystemError</name>
    <message>
        <source>Нет такого файла или папки</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>Отказано в доступе</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>На диске нет места</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>Диск или файловая система только для чтения</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>Занято другой программой</source>
        <translation>Device or resource busy</translation>
    </message>
    <message>
        <source>Устройство отключено</source>
        <translation>No such device</translation>
    </message>
</context>
</TS>

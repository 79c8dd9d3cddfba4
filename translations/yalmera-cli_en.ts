<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ExportCommand</name>
    <message numerus="yes">
        <source>Channel table (%n channel(s)) saved to %1</source>
        <translation>
            <numerusform>Channel table (%n channel) saved to %1</numerusform>
            <numerusform>Channel table (%n channels) saved to %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportCommand</name>
    <message numerus="yes">
        <source>Plan (%n channel(s) from %1, the settings from %2) saved to %3</source>
        <translation>
            <numerusform>Plan (%n channel from %1, the settings from %2) saved to %3</numerusform>
            <numerusform>Plan (%n channels from %1, the settings from %2) saved to %3</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ProtocolCommand</name>
    <message numerus="yes">
        <source>Protocol (serial number &quot;%1&quot;, %n channel(s)) saved to %2</source>
        <translation>
            <numerusform>Protocol (serial number &quot;%1&quot;, %n channel) saved to %2</numerusform>
            <numerusform>Protocol (serial number &quot;%1&quot;, %n channels) saved to %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReadCommand</name>
    <message numerus="yes">
        <source>Station %1: %2 (%3 MHz, type code %4%5), %n channel(s) saved to %6</source>
        <translation>
            <numerusform>Station %1: %2 (%3 MHz, type code %4%5), %n channel saved to %6</numerusform>
            <numerusform>Station %1: %2 (%3 MHz, type code %4%5), %n channels saved to %6</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TemplateCommand</name>
    <message numerus="yes">
        <source>%n channel(s), %1 to %2 kHz, %3 (%4 MHz, type code %5), module %6, saved to %7</source>
        <translation>
            <numerusform>%n channel, %1 to %2 kHz, %3 (%4 MHz, type code %5), module %6, saved to %7</numerusform>
            <numerusform>%n channels, %1 to %2 kHz, %3 (%4 MHz, type code %5), module %6, saved to %7</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>VerifyCommand</name>
    <message numerus="yes">
        <source>%1: %n difference(s):</source>
        <translation>
            <numerusform>%1: %n difference:</numerusform>
            <numerusform>%1: %n differences:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WriteCommand</name>
    <message numerus="yes">
        <source>%n channel(s) written, %1 bytes acknowledged</source>
        <translation>
            <numerusform>%n channel written, %1 bytes acknowledged</numerusform>
            <numerusform>%n channels written, %1 bytes acknowledged</numerusform>
        </translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English: the keys are the English texts, so a key the table lacks stands for itself. -->
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>LocalizedStrings</name>
</context>
</TS>

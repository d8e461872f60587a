<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Dovrin::Shell::RecentlyDeleted</name>
    <message numerus="yes">
        <location filename="../app/shell/DeletedRow.cpp" line="74"/>
        <source>Deleted %1 · %n days left</source>
        <comment>Recently Deleted row: when, then the days until it is gone for good</comment>
        <translation>
            <numerusform>Deleted %1 · %n day left</numerusform>
            <numerusform>Deleted %1 · %n days left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../app/shell/RecentlyDeleted.cpp" line="92"/>
        <source>Delete all %n notes immediately?</source>
        <translation>
            <numerusform>Delete %n note immediately?</numerusform>
            <numerusform>Delete all %n notes immediately?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::SearchPanel</name>
    <message numerus="yes">
        <location filename="../app/shell/SearchPanel.cpp" line="328"/>
        <source>%n notes</source>
        <translation>
            <numerusform>%n note</numerusform>
            <numerusform>%n notes</numerusform>
        </translation>
    </message>
</context>
</TS>

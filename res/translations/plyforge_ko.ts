<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name>msg</name>
    <message>
        <source>Young's modulus값을 확인하세요</source>
        <translation>Young's modulus값을 확인하세요</translation>
    </message>
    <message>
        <source>Scale factor값을 확인하세요</source>
        <translation>Scale factor값을 확인하세요</translation>
    </message>
    <message>
        <source>정수를 입력하세요</source>
        <translation>정수를 입력하세요</translation>
    </message>
    <message>
        <source>양의 정수를 입력하세요</source>
        <translation>양의 정수를 입력하세요</translation>
    </message>
    <message>
        <source>숫자를 입력하세요</source>
        <translation>숫자를 입력하세요</translation>
    </message>
    <message>
        <source>Scale factor값은 0보다 커야합니다</source>
        <translation>Scale factor값은 0보다 커야합니다</translation>
    </message>
    <message>
        <source>Elastic Max.값은 Elastic Min.보다 커야합니다</source>
        <translation>Elastic Max.값은 Elastic Min.보다 커야합니다</translation>
    </message>
    <message>
        <source>실수가 아닌 데이터가 있습니다11</source>
        <translation>실수가 아닌 데이터가 있습니다</translation>
    </message>
    <message>
        <source>Lamina 설정이 모두 완료되지 않았습니다</source>
        <translation>Lamina 설정이 모두 완료되지 않았습니다</translation>
    </message>
    <message>
        <source>Lamina 수는 10000 이하로 입력하세요</source>
        <translation>Lamina 수는 10000 이하로 입력하세요</translation>
    </message>
    <message>
        <source>숫자를 입력하세요(FAW)</source>
        <translation>숫자를 입력하세요(FAW)</translation>
    </message>
    <message>
        <source>숫자를 입력하세요(Thickness)</source>
        <translation>숫자를 입력하세요(Thickness)</translation>
    </message>
    <message>
        <source>숫자를 입력하세요(Angle)</source>
        <translation>숫자를 입력하세요(Angle)</translation>
    </message>
    <message>
        <source>숫자를 입력하세요(xi)</source>
        <translation>숫자를 입력하세요(xi)</translation>
    </message>
    <message>
        <source>데이터 갯수가 다릅니다</source>
        <translation>데이터 갯수가 다릅니다</translation>
    </message>
</context>
<context>
    <name>CLaminaDlg</name>
    <message>
        <source>Density(mg/m3)</source>
        <translation>Density (g/cm³)</translation>
    </message>
    <message>
        <source>Possion's Ratio</source>
        <translation>Poisson's Ratio</translation>
    </message>
    <message>
        <source>FAW(%)</source>
        <translation>FAW (fraction)</translation>
    </message>
    <message>
        <source>untitle</source>
        <translation>untitled</translation>
    </message>
</context>
<context>
    <name>CResultTheoryView</name>
    <message>
        <source>Translat for ABAQUS</source>
        <translation>Translation for ABAQUS</translation>
    </message>
</context>
<context>
    <name>CRibbonBar</name>
    <message>
        <source>The number of lamina</source>
        <translation>The number of laminae</translation>
    </message>
    <message>
        <source>The number of lamina</source>
        <comment>specimens</comment>
        <translation>The number of specimens</translation>
    </message>
</context>
</TS>

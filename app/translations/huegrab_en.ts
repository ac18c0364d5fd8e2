<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Form1</name>
    <message>
        <source>Wayland 会话：原生 Wayland 程序的窗口读作黑色；Alt+~ 仅在 X11 窗口有焦点时有效。</source>
        <translation>Wayland session: windows of native Wayland programs read as black; Alt+~ works only while an X11 window has the focus.</translation>
    </message>
    <message>
        <source>Wayland 会话：屏幕经桌面门户共享读取；Alt+~ 仅在 X11 窗口有焦点时有效。</source>
        <translation>Wayland session: the screen is read through the desktop portal&apos;s screen share; Alt+~ works only while an X11 window has the focus.</translation>
    </message>
    <message>
        <source>Huegrab抓点／抓色v3.20.1001正式版</source>
        <translation>Huegrab point / colour picker v3.20.1001</translation>
    </message>
    <message>
        <source>复制坐标[x,y]以备粘贴使用！</source>
        <translation>Copy the point as x,y</translation>
    </message>
    <message>
        <source>粘贴来自剪切板坐标[x,y]内容！</source>
        <translation>Paste a point x,y from the clipboard</translation>
    </message>
    <message>
        <source>复制16进制[&quot;颜色&quot;]以备粘贴使用！</source>
        <translation>Copy the hex colour code (BBGGRR)</translation>
    </message>
    <message>
        <source>复制颜色分量[r,g,b]以备粘贴使用！</source>
        <translation>Copy the components as r,g,b</translation>
    </message>
    <message>
        <source>复制颜色分量[h,s,l]以备粘贴使用！</source>
        <translation>Copy the components as h,s,l</translation>
    </message>
    <message>
        <source>粘贴来自剪切板句柄[hwnd]内容！</source>
        <translation>Paste a window handle from the clipboard</translation>
    </message>
    <message>
        <source>根据句柄查找标题和类名！</source>
        <translation>Find the title and class of this handle</translation>
    </message>
    <message>
        <source>复制窗口标题[&quot;title&quot;]以备粘贴使用！</source>
        <translation>Copy the window title</translation>
    </message>
    <message>
        <source>粘贴来自剪切板标题[&quot;title&quot;]内容！</source>
        <translation>Paste a title from the clipboard</translation>
    </message>
    <message>
        <source>启动／停止</source>
        <translation>Start/stop</translation>
    </message>
    <message>
        <source>自定义屏幕坐标</source>
        <translation>Typed point</translation>
    </message>
    <message>
        <source>Ｘ坐标：</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Ｙ坐标：</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>16进制：</source>
        <translation>Hex:</translation>
    </message>
    <message>
        <source>10进制：</source>
        <translation>Decimal:</translation>
    </message>
    <message>
        <source>颜色显示</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>得到屏幕坐标／颜色</source>
        <translation>Picked point / colour</translation>
    </message>
    <message>
        <source>点阵放大显示器</source>
        <translation>Magnifier</translation>
    </message>
    <message>
        <source>Alt+Ctrl+1 启动/停止</source>
        <translation>Alt+Ctrl+1 start/stop</translation>
    </message>
    <message>
        <source>偏移抓点</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>偏移量＝</source>
        <translation>Offset =</translation>
    </message>
    <message>
        <source>偏移量加一</source>
        <translation>Offset plus one</translation>
    </message>
    <message>
        <source>偏移量减一</source>
        <translation>Offset minus one</translation>
    </message>
    <message>
        <source>定位起点</source>
        <translation>Origin</translation>
    </message>
    <message>
        <source>Qx：</source>
        <translation>Qx:</translation>
    </message>
    <message>
        <source>Qy：</source>
        <translation>Qy:</translation>
    </message>
    <message>
        <source>查颜色代码的颜色</source>
        <translation>Colour of a colour code</translation>
    </message>
    <message>
        <source>16进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>10进制</source>
        <translation>Dec</translation>
    </message>
    <message>
        <source>颜色
显示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>抓鼠标形状特征</source>
        <translation>Mouse cursor shape code</translation>
    </message>
    <message>
        <source>选方式：</source>
        <translation>Method:</translation>
    </message>
    <message>
        <source>特征码：</source>
        <translation>Code:</translation>
    </message>
    <message>
        <source>测试
获取</source>
        <translation>Read
now</translation>
    </message>
    <message>
        <source>抓窗口句柄</source>
        <translation>Window handle</translation>
    </message>
    <message>
        <source>拾取</source>
        <translation>Pick</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>遍历</source>
        <translation>List</translation>
    </message>
    <message>
        <source>准心</source>
        <translation>Aim</translation>
    </message>
    <message>
        <source>窗口句柄：</source>
        <translation>Handle:</translation>
    </message>
    <message>
        <source>[按下]停止抓鼠标位置下窗口句柄！</source>
        <translation>Pressed: stops following the pointer, so the crosshair can be dragged onto a window</translation>
    </message>
    <message>
        <source>窗口标题：</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>窗口类名：</source>
        <translation>Class:</translation>
    </message>
    <message>
        <source>支持模糊搜索</source>
        <translation>Any part</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>双击复制选中行句柄！</source>
        <translation>Double-click copies the handle of a line</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>查颜色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>抓鼠标</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>抓句柄</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>[Alt+~]启动／停止</source>
        <translation>[Alt+~] start/stop</translation>
    </message>
    <message>
        <source>Huegrab 取点取色工具</source>
        <translation>Huegrab point &amp; colour picker</translation>
    </message>
    <message>
        <source>Huegrab：屏幕取点、取色与窗口信息工具</source>
        <translation>Huegrab: screen points, colours and window details</translation>
    </message>
    <message>
        <source>Email：huegrab@example.org</source>
        <translation>Email: huegrab@example.org</translation>
    </message>
    <message>
        <source>发送邮件</source>
        <translation>Send an email</translation>
    </message>
    <message>
        <source>默认方式</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>方式一</source>
        <translation>Method 1</translation>
    </message>
    <message>
        <source>方式二(New)!</source>
        <translation>Method 2 new</translation>
    </message>
    <message>
        <source>%1 启动/停止</source>
        <translation>%1 start/stop</translation>
    </message>
    <message>
        <source>[%1]启动／停止</source>
        <translation>[%1] start/stop</translation>
    </message>
    <message>
        <source>热键 %1 已被其他程序占用，没有热键：请点“启动／停止”复选框。</source>
        <translation>The hotkey %1 is in use by another program, so there is no hotkey: use the Start/stop box.</translation>
    </message>
    <message>
        <source>[%1]已被占用</source>
        <translation>[%1] in use</translation>
    </message>
    <message>
        <source>热键 %1 已被其他程序占用（GNOME、KDE 默认用它切换同一程序的窗口）。可在桌面的快捷键设置里释放它，或在 config.ini 的 [Hotkey] 下用 Key= 换一个键，例如 Key=Ctrl+Shift+F9。</source>
        <translation>The hotkey %1 is in use by another program (GNOME and KDE use it to switch between the windows of one application). Free it in the desktop&apos;s keyboard shortcuts, or choose another key with Key= under [Hotkey] in config.ini, for instance Key=Ctrl+Shift+F9.</translation>
    </message>
    <message>
        <source>设置文件 %1 不能写入：本次的颜色槽不会保存。</source>
        <translation>The settings file %1 cannot be written: the colour slots of this session will not be kept.</translation>
    </message>
    <message>
        <source>程序所在的文件夹不能写入，设置从此保存在 %1（原来的颜色槽会一并带过去）。</source>
        <translation>The program&apos;s folder cannot be written, so the settings are kept in %1 from now on (the colour slots kept so far come along).</translation>
    </message>
    <message>
        <source>读不到鼠标形状：%1</source>
        <translation>The cursor shape cannot be read: %1</translation>
    </message>
    <message>
        <source>热键 %1：%2</source>
        <translation>Hotkey %1: %2</translation>
    </message>
    <message>
        <source>没有热键：请点“启动／停止”复选框。</source>
        <translation>There is no hotkey: use the Start/stop box.</translation>
    </message>
    <message>
        <source>[%1]不可用</source>
        <translation>[%1] unavailable</translation>
    </message>
    <message>
        <source>跟踪不能跟随鼠标：%1</source>
        <translation>Tracking cannot follow the pointer: %1</translation>
    </message>
    <message>
        <source>这里读不到鼠标位置：启动后请在屏幕上点一下要取色的点（Esc 取消），读完自动停止。</source>
        <translation>The pointer cannot be read here: after switching on, click the point to read on the screen (Esc cancels); tracking then stops by itself.</translation>
    </message>
    <message>
        <source>方向键不能微移鼠标：%1</source>
        <translation>The arrow keys cannot nudge the pointer: %1</translation>
    </message>
    <message>
        <source>拾取不到鼠标下的窗口：%1</source>
        <translation>The window under the pointer cannot be picked: %1</translation>
    </message>
    <message>
        <source>读不到桌面的窗口：%1</source>
        <translation>The desktop&apos;s windows cannot be read: %1</translation>
    </message>
</context>
</TS>

M3
m3

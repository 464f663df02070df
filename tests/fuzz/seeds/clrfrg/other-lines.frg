[Farger]
colora=abc
X=Y
=
ColorP=000000
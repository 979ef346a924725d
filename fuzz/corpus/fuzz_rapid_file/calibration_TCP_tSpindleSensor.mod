MODULE TCP_tSpindleSensor
  ! TCP calibration of tSpindleSensor: four approach points with tool0,
  ! then the tip on +Z and on +X of the tool, moved from the fourth.
  PERS tooldata tSpindleSensor:=[TRUE,[[0,0,0],[1,0,0,0]],[1.2,[0,0,80],[1,0,0,0],0,0,0]];
  CONST robtarget pTCP_Point1:=[[1362.500,-216.800,825.400],[0.0000000,0.0000000,1.0000000,0.0000000],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  CONST robtarget pTCP_Point2:=[[1439.682,-216.800,802.747],[0.2164396,-0.0000000,-0.9762960,-0.0000000],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  CONST robtarget pTCP_Point3:=[[1439.929,-207.500,802.161],[0.1830127,0.6830127,-0.6830127,-0.1830127],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  CONST robtarget pTCP_Point4:=[[1397.737,-140.176,800.900],[0.0402433,0.5132809,0.8138600,-0.2693605],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  CONST robtarget pTCP_Z:=[[1451.585,-114.303,938.491],[0.0402433,0.5132809,0.8138600,-0.2693605],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  CONST robtarget pTCP_X:=[[1442.058,-251.633,804.514],[0.0402433,0.5132809,0.8138600,-0.2693605],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  PROC CalibTCP()
    MoveJ pTCP_Point1, v200, fine, tool0;
    MoveL pTCP_Point2, v100, fine, tool0;
    MoveL pTCP_Point3, v100, fine, tool0;
    MoveL pTCP_Point4, v100, fine, tool0;
  ENDPROC
ENDMODULE
